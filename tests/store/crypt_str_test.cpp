#include "store/crypt_str.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/win/codepage.h"
#include "platform/win/kestro_home.h"
#include "platform/win/last_error.h"
#include "store/base64.h"
#include "tests/support/temp_home.h"

namespace {

// Protected text as the database holds it: widened with the ANSI code page.
std::u16string ToColumn(const std::string& text) {
    std::u16string wide(text.size(), u'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(),
                                      int(wide.size()));
    wide.resize(n);
    return wide;
}

std::string FromColumn(const std::u16string& column) {
    std::string narrow(column.size(), '\0');
    const int n = WideCharToMultiByte(CP_ACP, 0, column.data(), int(column.size()), narrow.data(),
                                      int(narrow.size()), nullptr, nullptr);
    narrow.resize(n);
    return narrow;
}

std::string Encrypt(CCryptStr& crypt, const std::u16string& plain) {
    std::string text;
    EXPECT_TRUE(crypt.EncryptStrW(plain, text)) << testing::PrintToString(crypt.m_strError);
    return text;
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = std::make_unique<std::string>(old);
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_old) {
            setenv(m_name.c_str(), m_old->c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }

private:
    std::string m_name;
    std::unique_ptr<std::string> m_old;
};

}  // namespace

TEST(CCryptStr, TextWrittenByOneHolderIsReadByAnother) {
    for (const char* acp : {"1252", "65001"}) {
        ScopedEnv codePage("KESTRO_ACP", acp);
        CCryptStr writer;
        const std::u16string column = ToColumn(Encrypt(writer, u"s3cr\u00E9t password"));
        EXPECT_EQ(column.find_first_not_of(
                      u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"),
                  std::u16string::npos);

        CCryptStr reader;
        std::u16string plain;
        ASSERT_TRUE(reader.DecryptStrW(FromColumn(column), plain)) << acp;
        EXPECT_EQ(plain, u"s3cr\u00E9t password");
    }
}

TEST(CCryptStr, CopiesUseTheirOwnEntropy) {
    auto original = std::make_unique<CCryptStr>();
    const std::string text = Encrypt(*original, u"value");
    CCryptStr copy(*original);
    CCryptStr assigned;
    assigned = *original;
    original.reset();

    EXPECT_EQ(copy.m_entropy.pbData, copy.m_entropyBytes);
    EXPECT_EQ(assigned.m_entropy.pbData, assigned.m_entropyBytes);
    std::u16string plain;
    EXPECT_TRUE(copy.DecryptStrW(text, plain));
    EXPECT_TRUE(assigned.DecryptStrW(text, plain));
    EXPECT_EQ(plain, u"value");
}

// Text stored by earlier builds must keep opening: the key file, machine id,
// entropy, blob layout and Base64 form all feed into this one value.
TEST(CCryptStr, TextStoredByAnEarlierBuildStillOpens) {
    std::string key;
    for (int i = 0; i < 32; ++i) key += static_cast<char>(i * 7 + 1);
    testing_support::WriteFile(KestroHomeDirectory() + "/protection.key", key);
    ScopedEnv machine("KESTRO_MACHINE_ID", "4f3c2d1e0a9b8c7d6e5f4a3b2c1d0e9f");

    const std::string stored =
        "AeH3uCDeCSAsTeChKYnnZno72/5kPDPWCAIAAABaAEsAFuffNe6XHBZ9Is/"
        "lOsk9L0sf9WDJcqJ0UXRt0RrfR0CjN6cBv1a8Rg";
    CCryptStr crypt;
    std::u16string plain;
    ASSERT_TRUE(crypt.DecryptStrW(stored, plain)) << testing::PrintToString(crypt.m_strError);
    EXPECT_EQ(plain, u"p\u00E4ss w\u00F6rd \U0001F511");
}

TEST(CCryptStr, TextOfAnotherUserFailsWithCode13) {
    CCryptStr crypt;
    const std::string text = Encrypt(crypt, u"value");
    testing_support::TempDir otherUser;
    ScopedEnv home("KESTRO_HOME", otherUser.path());

    std::u16string plain = u"untouched";
    EXPECT_FALSE(crypt.DecryptStrW(text, plain));
    EXPECT_EQ(crypt.m_strError, u"CryptUnprotectData failed. Error code: 13");
    EXPECT_EQ(plain, u"untouched");
}

TEST(CCryptStr, DamagedOrEmptyTextNeverYieldsAValue) {
    CCryptStr crypt;
    std::string damaged = Encrypt(crypt, u"value");
    damaged[damaged.size() / 2] = damaged[damaged.size() / 2] == 'A' ? 'B' : 'A';

    for (const std::string& text : {std::string(), damaged, std::string("!!!! ====")}) {
        std::u16string plain = u"untouched";
        crypt.m_strError.clear();
        EXPECT_FALSE(crypt.DecryptStrW(text, plain));
        EXPECT_EQ(crypt.m_strError, u"CryptUnprotectData failed. Error code: 13");
        EXPECT_EQ(plain, u"untouched");
    }
    // A later success leaves the last failure's text in place.
    std::u16string plain;
    EXPECT_TRUE(crypt.DecryptStrW(Encrypt(crypt, u"v"), plain));
    EXPECT_EQ(crypt.m_strError, u"CryptUnprotectData failed. Error code: 13");
}

TEST(CCryptStr, LineBreaksBlanksAndPaddingInsideTextAreIgnored) {
    CCryptStr crypt;
    const std::string text = Encrypt(crypt, u"value");
    EXPECT_EQ(text.find('='), std::string::npos);
    std::string spread;
    for (std::size_t i = 0; i < text.size(); ++i) {
        spread += text[i];
        if (i % 16 == 15) spread += "\r\n";
        if (i % 7 == 3) spread += ' ';
    }
    spread += "==";

    std::u16string plain;
    ASSERT_TRUE(crypt.DecryptStrW(spread, plain)) << testing::PrintToString(crypt.m_strError);
    EXPECT_EQ(plain, u"value");
}

TEST(CCryptStr, ValuesKeepEveryCodeUnit) {
    CCryptStr crypt;
    for (const std::u16string& value :
         {std::u16string(u"\U0001F600 \u4E2D\u6587 \u00E9"), std::u16string(u"a\r\nb \"=\" \\"),
          std::u16string(u" "), std::u16string(1000, u'x')}) {
        std::u16string plain;
        ASSERT_TRUE(crypt.DecryptStrW(Encrypt(crypt, value), plain));
        EXPECT_EQ(plain, value);
    }
}

TEST(CCryptStr, EmptyValueGivesTextThatOpensToEmpty) {
    CCryptStr crypt;
    const std::string text = Encrypt(crypt, u"");
    EXPECT_FALSE(text.empty());
    std::u16string plain = u"old";
    ASSERT_TRUE(crypt.DecryptStrW(text, plain));
    EXPECT_EQ(plain, u"");
}

TEST(CCryptStr, ValueEndsAtItsFirstZeroUnit) {
    // Blobs that carry a terminator open to the text before it.
    CCryptStr crypt;
    std::u16string withTerminator(u"value\0", 6);
    DATA_BLOB in{DWORD(withTerminator.size() * 2), reinterpret_cast<BYTE*>(withTerminator.data())};
    DATA_BLOB blob{};
    ASSERT_TRUE(CryptProtectData(&in, u"ZK", &crypt.m_entropy, nullptr, nullptr, 0, &blob));
    std::string text(Base64EncodeRequiredLength(blob.cbData), '\0');
    std::size_t length = text.size();
    ASSERT_TRUE(Base64Encode(blob.pbData, blob.cbData, text.data(), &length));
    text.resize(length);
    LocalFree(blob.pbData);

    std::u16string plain;
    ASSERT_TRUE(crypt.DecryptStrW(text, plain));
    EXPECT_EQ(plain, u"value");
}

TEST(CCryptStr, FailedProtectionReportsItsCode) {
    testing_support::TempDir dir;
    testing_support::WriteFile(dir.File("file"), "");
    ScopedEnv home("KESTRO_HOME", dir.File("file"));

    CCryptStr crypt;
    std::string text = "untouched";
    EXPECT_FALSE(crypt.EncryptStrW(u"value", text));
    EXPECT_EQ(crypt.m_strError, u"CryptProtectData failed. Error code: 3");
    EXPECT_EQ(text, "untouched");
}
