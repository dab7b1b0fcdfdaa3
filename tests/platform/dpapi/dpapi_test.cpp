#include "platform/dpapi/dpapi.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win/last_error.h"
#include "tests/platform/dpapi/dpapi_test_support.h"
#include "tests/support/temp_home.h"

using namespace dpapi_test;

namespace {

Bytes g_entropyBytes = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80};

DATA_BLOB Entropy() {
    return BlobOf(g_entropyBytes);
}

bool Contains(const Bytes& haystack, const std::string& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

}  // namespace

TEST(CryptProtectData, RoundTripReturnsDataAndDescription) {
    DATA_BLOB entropy = Entropy();
    const std::string plain("pass\0word \xC3\xA9", 12);
    const Bytes blob = Protect(plain, &entropy, u"ZK \u00E9\U0001F600");
    ASSERT_FALSE(blob.empty()) << GetLastError();
    EXPECT_FALSE(Contains(blob, "pass"));

    const Opened opened = Unprotect(blob, &entropy);
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_EQ(opened.plain, plain);
    EXPECT_EQ(opened.description, u"ZK \u00E9\U0001F600");

    // A fresh nonce each time: equal inputs never give equal blobs.
    EXPECT_NE(Protect(plain, &entropy, u"ZK \u00E9\U0001F600"), blob);
}

TEST(CryptProtectData, RoundTripWithoutEntropyDescriptionOrData) {
    const Opened opened = Unprotect(Protect("value", nullptr, nullptr));
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_EQ(opened.plain, "value");
    EXPECT_EQ(opened.description, u"");

    // Empty entropy is the same as none.
    Bytes none;
    DATA_BLOB empty = BlobOf(none);
    EXPECT_TRUE(Unprotect(Protect("value"), &empty).ok);

    const Bytes emptyPlain = Protect("");
    ASSERT_FALSE(emptyPlain.empty());
    const Opened openedEmpty = Unprotect(emptyPlain);
    ASSERT_TRUE(openedEmpty.ok) << openedEmpty.error;
    EXPECT_EQ(openedEmpty.plain, "");

    // The description is optional on the way out.
    Bytes copy = Protect("value");
    DATA_BLOB in = BlobOf(copy);
    DATA_BLOB out{};
    ASSERT_TRUE(CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, 0, &out));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out.pbData), out.cbData), "value");
    LocalFree(out.pbData);
}

TEST(CryptUnprotectData, AnotherUserCannotOpen) {
    const Bytes blob = Protect("secret");
    testing_support::TempDir otherUser;
    ScopedEnv home("KESTRO_HOME", otherUser.path());

    EXPECT_EQ(Unprotect(blob).error, ERROR_INVALID_DATA);
    // Opening creates no key for the other user; protecting does, and it
    // is a different one.
    EXPECT_TRUE(testing_support::ReadFile(otherUser.File("protection.key")).empty());
    ASSERT_FALSE(Protect("mine").empty());
    EXPECT_EQ(Unprotect(blob).error, ERROR_INVALID_DATA);
}

TEST(CryptUnprotectData, AnotherMachineCannotOpen) {
    Bytes blob;
    {
        ScopedEnv machine("KESTRO_MACHINE_ID", "0123456789abcdef0123456789abcdef");
        blob = Protect("secret");
        EXPECT_TRUE(Unprotect(blob).ok);
    }
    ScopedEnv machine("KESTRO_MACHINE_ID", "0123456789abcdef0123456789abcdee");
    EXPECT_EQ(Unprotect(blob).error, ERROR_INVALID_DATA);
}

TEST(CryptUnprotectData, OtherEntropyCannotOpen) {
    DATA_BLOB entropy = Entropy();
    const Bytes blob = Protect("secret", &entropy);

    Bytes otherBytes = g_entropyBytes;
    otherBytes[7] ^= 1;
    DATA_BLOB other = BlobOf(otherBytes);
    EXPECT_EQ(Unprotect(blob, &other).error, ERROR_INVALID_DATA);

    Bytes longerBytes = g_entropyBytes;
    longerBytes.push_back(0);
    DATA_BLOB longer = BlobOf(longerBytes);
    EXPECT_EQ(Unprotect(blob, &longer).error, ERROR_INVALID_DATA);

    EXPECT_EQ(Unprotect(blob).error, ERROR_INVALID_DATA);
    EXPECT_EQ(Unprotect(Protect("secret"), &entropy).error, ERROR_INVALID_DATA);
}

TEST(CryptUnprotectData, DamagedTruncatedOrEmptyBlobFails) {
    DATA_BLOB entropy = Entropy();
    const Bytes blob = Protect("secret value", &entropy, u"ZK");
    ASSERT_TRUE(Unprotect(blob, &entropy).ok);

    for (std::size_t i = 0; i < blob.size(); ++i) {
        for (BYTE flip : {BYTE(0x01), BYTE(0x80)}) {
            Bytes damaged = blob;
            damaged[i] ^= flip;
            EXPECT_EQ(Unprotect(damaged, &entropy).error, ERROR_INVALID_DATA) << "byte " << i;
        }
    }
    for (std::size_t size = 0; size < blob.size(); ++size) {
        const Bytes truncated(blob.begin(), blob.begin() + size);
        EXPECT_EQ(Unprotect(truncated, &entropy).error, ERROR_INVALID_DATA) << "size " << size;
    }
    Bytes extended = blob;
    extended.push_back(0);
    EXPECT_EQ(Unprotect(extended, &entropy).error, ERROR_INVALID_DATA);
}

TEST(CryptProtectData, InvalidArgumentsFailWith87AndLeaveOutputAlone) {
    Bytes data = BytesOf("data");
    DATA_BLOB in = BlobOf(data), nullData{4, nullptr};
    BYTE marker = 0;
    DATA_BLOB out{7, &marker};
    int reserved = 0;
    for (const bool protect : {true, false}) {
        const auto fails = [&](DATA_BLOB* pIn, DATA_BLOB* entropy, PVOID res, DWORD flags,
                               DATA_BLOB* pOut) {
            SetLastError(ERROR_SUCCESS);
            const BOOL ok =
                protect ? CryptProtectData(pIn, u"ZK", entropy, res, nullptr, flags, pOut)
                        : CryptUnprotectData(pIn, nullptr, entropy, res, nullptr, flags, pOut);
            return !ok && GetLastError() == ERROR_INVALID_PARAMETER;
        };
        EXPECT_TRUE(fails(nullptr, nullptr, nullptr, 0, &out));
        EXPECT_TRUE(fails(&in, nullptr, nullptr, 0, nullptr));
        EXPECT_TRUE(fails(&nullData, nullptr, nullptr, 0, &out));
        EXPECT_TRUE(fails(&in, &nullData, nullptr, 0, &out));
        EXPECT_TRUE(fails(&in, nullptr, &reserved, 0, &out));
        EXPECT_TRUE(fails(&in, nullptr, nullptr, 0x4 /* local machine */, &out));
    }
    EXPECT_EQ(out.cbData, 7u);
    EXPECT_EQ(out.pbData, &marker);

    // Prompts are never shown, so forbidding them is accepted.
    ASSERT_TRUE(
        CryptProtectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out));
    LocalFree(out.pbData);
}
