// Voice tokens and the voices category: a fixed list, stable ids, the
// description lookup the speech settings make, and choosing a voice per
// voice object. Also the user-interface language and the text pieces the
// engine is fed with.
#include <stdlib.h>

#include <set>

#include "platform/sapi/synthesis_text.h"
#include "platform/win/text.h"
#include "platform/win/user_locale.h"
#include "tests/platform/sapi/sapi_test_support.h"
#include "tests/support/locale_environment.h"

using namespace sapi_test;
using namespace std::chrono_literals;

namespace {

class VoiceTokenTest : public SpeechTest {};

std::vector<std::u16string> Ids(const std::vector<CComPtr<ISpObjectToken>>& tokens) {
    std::vector<std::u16string> ids;
    for (ISpObjectToken* token : tokens) ids.push_back(TokenId(token));
    return ids;
}

// The engine voice a short text is synthesised with.
std::u16string EngineVoiceOf(ISpVoice* voice) {
    ULONG stream = 0;
    EXPECT_EQ(S_OK, voice->Speak(u"hi", SPF_ASYNC | SPF_PURGEBEFORESPEAK, &stream));
    EXPECT_TRUE(WaitFor(
        [&] {
            const SpeechPlaybackInfo info = Playback(voice);
            return info.stream == stream && info.synthesisDone;
        },
        10s));
    const std::u16string engineVoice = Playback(voice).engineVoice;
    voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    return engineVoice;
}

TEST_F(VoiceTokenTest, ListsTheVoicesInAFixedOrderWithStableIds) {
    const std::vector<std::u16string> ids = Ids(VoiceTokens());
    ASSERT_GT(ids.size(), 1u);
    EXPECT_EQ(ids, Ids(VoiceTokens()));
    EXPECT_EQ(ids.size(), std::set<std::u16string>(ids.begin(), ids.end()).size());
    for (const std::u16string& id : ids)
        EXPECT_EQ(0u,
                  id.find(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\"));
}

TEST_F(VoiceTokenTest, EnumeratorCountsAndStopsAtTheEnd) {
    CComPtr<ISpObjectTokenCategory> category;
    ASSERT_EQ(S_OK,
              CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                               IID_ISpObjectTokenCategory, reinterpret_cast<void**>(&category)));
    CComPtr<IEnumSpObjectTokens> list;
    EXPECT_EQ(SPERR_UNINITIALIZED, category->EnumTokens(nullptr, nullptr, &list));
    EXPECT_EQ(SPERR_NOT_FOUND, category->SetId(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Other", FALSE));
    ASSERT_EQ(S_OK,
              category->SetId(u"hkey_local_machine\\software\\microsoft\\speech\\voices", FALSE));
    EXPECT_EQ(SPERR_ALREADY_INITIALIZED, category->SetId(SPCAT_VOICES, FALSE));
    EXPECT_EQ(E_NOTIMPL, category->EnumTokens(u"Gender=Female", nullptr, &list));
    ASSERT_EQ(S_OK, category->EnumTokens(u"", nullptr, &list));

    ULONG count = 0;
    ASSERT_EQ(S_OK, list->GetCount(&count));
    std::vector<ISpObjectToken*> tokens(count + 2, nullptr);
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, list->Next(count + 2, tokens.data(), &fetched));
    EXPECT_EQ(count, fetched);
    for (ULONG i = 0; i < fetched; ++i) tokens[i]->Release();
    EXPECT_EQ(S_FALSE, list->Next(1, tokens.data(), &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(E_POINTER, list->Next(2, tokens.data(), nullptr));
}

TEST_F(VoiceTokenTest, DescriptionFallsBackToTheDefaultValue) {
    const std::vector<CComPtr<ISpObjectToken>> tokens = VoiceTokens();
    ASSERT_FALSE(tokens.empty());
    HRESULT hr = S_OK;
    const std::u16string description = TokenValue(tokens[0], nullptr, &hr);
    EXPECT_EQ(S_OK, hr);
    EXPECT_FALSE(description.empty());
    EXPECT_EQ(description, TokenValue(tokens[0], u"409", &hr));
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(u"", TokenValue(tokens[0], u"407", &hr));
    EXPECT_EQ(SPERR_NOT_FOUND, hr);
    EXPECT_EQ(E_POINTER, tokens[0]->GetStringValue(nullptr, nullptr));
}

TEST_F(VoiceTokenTest, SetVoiceChangesTheEngineVoiceOfThatObjectOnly) {
    const std::vector<CComPtr<ISpObjectToken>> tokens = VoiceTokens();
    CComPtr<ISpVoice> changed = NewVoice();
    CComPtr<ISpVoice> untouched = NewVoice();
    CComPtr<ISpObjectToken> current;
    ASSERT_EQ(S_OK, changed->GetVoice(&current));
    const std::u16string defaultId = TokenId(current);
    const std::u16string defaultEngineVoice = EngineVoiceOf(untouched);

    ISpObjectToken* other = TokenId(tokens[0]) == defaultId ? tokens[1] : tokens[0];
    ASSERT_EQ(S_OK, changed->SetVoice(other));
    current.Release();
    ASSERT_EQ(S_OK, changed->GetVoice(&current));
    EXPECT_EQ(TokenId(other), TokenId(current));
    EXPECT_NE(defaultEngineVoice, EngineVoiceOf(changed));
    EXPECT_EQ(defaultEngineVoice, EngineVoiceOf(untouched));

    ASSERT_EQ(S_OK, changed->SetVoice(nullptr));
    EXPECT_EQ(defaultEngineVoice, EngineVoiceOf(changed));
}

class UserLocaleTest : public ::testing::Test {
protected:
    testing_support::LocaleEnvironment m_environment;
};

TEST_F(UserLocaleTest, InterfaceLanguageComesFromTheLocale) {
    EXPECT_EQ(0x409, GetUserDefaultUILanguage());
    setenv("LANG", "C.UTF-8", 1);
    EXPECT_EQ(0x409, GetUserDefaultUILanguage());
    setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(0x407, GetUserDefaultUILanguage());
    EXPECT_EQ("de-de", UserLanguageTag());
    setenv("LANG", "en_GB", 1);
    EXPECT_EQ(0x809, GetUserDefaultUILanguage());
    setenv("LANG", "fr_LU@euro", 1);  // region not listed: the language's own
    EXPECT_EQ(0x40C, GetUserDefaultUILanguage());
    setenv("LANG", "xx_YY", 1);
    EXPECT_EQ(0x409, GetUserDefaultUILanguage());
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    EXPECT_EQ(0x411, GetUserDefaultUILanguage());
}

TEST(SynthesisTextTest, SplitsAtSentencesAndKeepsPiecesShort) {
    EXPECT_EQ((std::vector<std::string>{"One.", " Two?", " 3.5 is\n", "fine"}),
              SplitForSynthesis(u"One. Two? 3.5 is\nfine"));
    EXPECT_TRUE(SplitForSynthesis(u" \n\t ").empty());
    EXPECT_EQ(std::vector<std::string>{"a b"}, SplitForSynthesis(std::u16string(u"a\0b", 3)));

    std::u16string words;
    while (words.size() < 3 * kMaxPieceLength) words += u"word ";
    std::size_t total = 0;
    for (const std::string& piece : SplitForSynthesis(words)) {
        EXPECT_LE(piece.size(), kMaxPieceLength);
        EXPECT_EQ(' ', piece.back());
        total += piece.size();
    }
    EXPECT_EQ(words.size(), total);
    const std::u16string unbroken(kMaxPieceLength + 10, u'x');
    EXPECT_EQ(2u, SplitForSynthesis(unbroken).size());
}

TEST(SynthesisTextTest, RateMapsToWordsPerMinute) {
    EXPECT_EQ(80, WordsPerMinuteForRate(-10));
    EXPECT_EQ(175, WordsPerMinuteForRate(0));
    EXPECT_EQ(450, WordsPerMinuteForRate(10));
    EXPECT_EQ(80, WordsPerMinuteForRate(-50));
    EXPECT_LT(WordsPerMinuteForRate(-5), 175);
    EXPECT_GT(WordsPerMinuteForRate(-5), 80);
}

}  // namespace
