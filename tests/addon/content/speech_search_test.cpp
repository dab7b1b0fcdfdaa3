// Speech and web search: the texts each command speaks, a new text that
// interrupts the old one and wakes a paused voice, a long text spoken
// whole, the speech settings of one window, and the search address.
#include "addon/content/option_tts_dlg.h"
#include "platform/com/class_factory.h"
#include "tests/addon/content/content_test_support.h"

namespace content_test {

namespace {

class Speech : public ContentTest {
protected:
    // The texts spoken so far, from the journal's "speak" entries.
    std::vector<std::string> Spoken() const {
        std::vector<std::string> texts;
        for (const std::string& line : JournalOf("speak"))
            texts.push_back(line.substr(line.find("): ") + 3));
        return texts;
    }
    static DWORD RunningState(ISpVoice* voice) {
        SPVOICESTATUS status{};
        voice->GetStatus(&status, nullptr);
        return status.dwRunningState;
    }
};

TEST_F(Speech, EachCommandSpeaksItsText) {
    browser::BrowserWindow& window = Open(DemoWeb("article.html"));
    CEditHtml& addOn = AddOn(window);
    addOn.DispatchCommand(32791, ObjectOf(window, u"#cell"));
    addOn.DispatchCommand(32769, ObjectOf(window, u"#p1"));
    addOn.m_bstrSelection = u"a chosen phrase";
    addOn.DispatchCommand(32794, ObjectOf(window, u"#p1"));
    const std::vector<std::string> spoken = Spoken();
    ASSERT_EQ(3u, spoken.size());
    EXPECT_EQ("Kestrel", spoken[0]);
    EXPECT_EQ(0u, spoken[1].find("Field notes from the water meadows"));
    EXPECT_NE(std::string::npos, spoken[1].find("See you at the mill next month."));
    EXPECT_EQ("a chosen phrase", spoken[2]);
    addOn.m_spVoice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
}

TEST_F(Speech, ANewTextInterruptsTheOldOneAndWakesAPausedVoice) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    CEditHtml& addOn = AddOn(window);
    addOn.SpeakText(u"The first text is long enough to be still speaking when the next arrives.");
    addOn.m_spVoice->Pause();
    ASSERT_EQ(0u, RunningState(addOn.m_spVoice));
    addOn.SpeakText(u"The second text.");
    EXPECT_EQ(SPRS_IS_SPEAKING, RunningState(addOn.m_spVoice));
    EXPECT_EQ(1u, JournalOf("purge").size());
    addOn.m_spVoice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
}

TEST_F(Speech, ATextLongerThanOnePieceIsSpokenWholeAndPurgedWhole) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    CEditHtml& addOn = AddOn(window);
    std::u16string text;
    while (text.size() < 5000) text += u"One more sentence of the long page. ";
    addOn.SpeakText(text);
    ASSERT_EQ(1u, Spoken().size());
    EXPECT_EQ(Utf16ToUtf8(text), Spoken()[0]);
    addOn.SpeakText(u"stop");
    EXPECT_EQ(SPRS_IS_SPEAKING, RunningState(addOn.m_spVoice));
    addOn.m_spVoice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    EXPECT_EQ(SPRS_DONE, RunningState(addOn.m_spVoice));
}

TEST_F(Speech, TheSettingsDialogChangesOnlyThisWindowsVoice) {
    browser::BrowserWindow& first = OpenDemo("article.html");
    browser::BrowserWindow& second = OpenDemo("article.html");
    CEditHtml& addOn = AddOn(first);
    CComPtr<ISpObjectToken> current;
    ASSERT_EQ(S_OK, addOn.m_spVoice->GetVoice(&current));
    // Another installed voice, by the description the dialog lists.
    CComPtr<ISpObjectTokenCategory> category;
    CComPtr<IEnumSpObjectTokens> tokens;
    ASSERT_EQ(S_OK,
              CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                               IID_ISpObjectTokenCategory, reinterpret_cast<void**>(&category)));
    category->SetId(SPCAT_VOICES, FALSE);
    category->EnumTokens(nullptr, nullptr, &tokens);
    std::u16string other;
    for (CComPtr<ISpObjectToken> token; tokens->Next(1, &token, nullptr) == S_OK; token.Release())
        if (VoiceDescription(token) != VoiceDescription(current)) {
            other = VoiceDescription(token);
            break;
        }
    ASSERT_NE(u"", other);

    Answer(u"dialog \"Kestro - Speech setting\"");
    Answer(u"pick 214 \"" + other + u"\"");
    Answer(u"slide 216 -5");
    Answer(u"slide 215 40");
    Answer(u"press 1");
    addOn.ShowSpeechSettings();
    LONG rate = 0;
    USHORT volume = 0;
    CComPtr<ISpObjectToken> chosen;
    addOn.m_spVoice->GetRate(&rate);
    addOn.m_spVoice->GetVolume(&volume);
    addOn.m_spVoice->GetVoice(&chosen);
    EXPECT_EQ(-5, rate);
    EXPECT_EQ(40, volume);
    EXPECT_EQ(other, VoiceDescription(chosen));

    LONG otherRate = 99;
    AddOn(second).m_spVoice->GetRate(&otherRate);
    EXPECT_EQ(0, otherRate);
    Answer(u"dialog \"Kestro - Speech setting\"");
    Answer(u"slide 216 7");
    Answer(u"press 2");
    AddOn(second).ShowSpeechSettings();
    AddOn(second).m_spVoice->GetRate(&otherRate);
    EXPECT_EQ(0, otherRate);
}

TEST_F(Speech, WithoutAVoiceNothingIsSpokenAndTheDialogIsEmpty) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    CEditHtml& addOn = AddOn(window);
    addOn.m_spVoice.Release();
    addOn.SpeakText(u"silence");
    EXPECT_TRUE(Spoken().empty());
    Answer(u"dialog \"Kestro - Speech setting\"");
    Answer(u"press 1");
    addOn.ShowSpeechSettings();
}

TEST_F(Speech, SearchSendsEveryByteOfTheSelectionPercentEncoded) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    CEditHtml& addOn = AddOn(window);
    const std::string search = "https://www.google.com/search?hl=en&lr=&q=";
    const struct {
        const char16_t* selection;
        const char* query;
    } cases[] = {
        {u"two words", "%74%77%6F%20%77%6F%72%64%73"},
        {u"a\r\nb", "%61%20%62"},
        {u"a\nb\r", "%61%0A%62%0D"},
        {u"\u039a\u03b5", "%CE%9A%CE%B5"},
    };
    for (const auto& c : cases) {
        addOn.m_bstrSelection = c.selection;
        addOn.SearchSelection();
        EXPECT_EQ(search + c.query, JournalOf("shell").back()) << Utf16ToUtf8(c.selection);
    }
}

}  // namespace

}  // namespace content_test
