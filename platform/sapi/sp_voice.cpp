#include "platform/sapi/sp_voice.h"

#include <atomic>

#include "platform/com/com_ptr.h"
#include "platform/sapi/object_token.h"
#include "platform/sapi/speech_activity.h"
#include "platform/sapi/speech_channel.h"
#include "platform/sapi/speech_engine.h"
#include "platform/sapi/speech_player.h"
#include "platform/sapi/synthesis_text.h"
#include "platform/sapi/task_string.h"
#include "platform/win/effects_journal.h"
#include "platform/win/text.h"

namespace {

constexpr DWORD kSupportedFlags = SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML;

ULONG NextVoiceNumber() {
    static std::atomic<ULONG> count{0};
    return ++count;
}

}  // namespace

SpVoice::SpVoice() = default;
SpVoice::~SpVoice() = default;

HRESULT SpVoice::FinalConstruct() {
    m_engine = SpeechEngine::Instance();
    if (!m_engine) return E_FAIL;
    m_channel = std::make_shared<SpeechChannel>(m_engine->SampleRate(),
                                                m_engine->DefaultVoice().identifier);
    m_player = std::make_unique<SpeechPlayer>(m_channel, *m_engine);
    m_identity = u"voice " + WideFromUnsigned(NextVoiceNumber());
    NameSpeechVoice(m_channel.get(), m_identity);
    return S_OK;
}

void SpVoice::FinalRelease() {
    m_player.reset();
}

STDMETHODIMP SpVoice::SetVoice(ISpObjectToken* token) {
    if (!token) {
        m_channel->SetVoice(m_engine->DefaultVoice().identifier);
        return S_OK;
    }
    LPWSTR id = nullptr;
    if (HRESULT hr = token->GetId(&id); FAILED(hr)) return hr;
    const EngineVoice* voice = m_engine->FindByTokenId(id);
    CoTaskMemFree(id);
    if (!voice) return E_INVALIDARG;
    m_channel->SetVoice(voice->identifier);
    return S_OK;
}

STDMETHODIMP SpVoice::GetVoice(ISpObjectToken** token) {
    if (!token) return E_POINTER;
    *token = nullptr;
    const EngineVoice* voice = m_engine->FindByIdentifier(m_channel->Voice());
    return SpObjectToken::Create(voice ? *voice : m_engine->DefaultVoice(), token);
}

STDMETHODIMP SpVoice::Speak(LPCWSTR text, DWORD flags, ULONG* streamNumber) {
    if (streamNumber) *streamNumber = 0;
    if (flags & ~kSupportedFlags) return E_INVALIDARG;
    if (!text && !(flags & SPF_PURGEBEFORESPEAK)) return E_INVALIDARG;
    if ((flags & SPF_PURGEBEFORESPEAK) && m_channel->Purge()) Journal(u"purge");
    if (!text) return S_OK;

    const ULONG stream = m_channel->Enqueue(SplitForSynthesis(text));
    if (streamNumber) *streamNumber = stream;
    Journal(u"speak", u" (" + Utf8ToUtf16(m_channel->Voice()) + u", rate " +
                          WideFromInt(m_channel->Rate()) + u", volume " +
                          WideFromUnsigned(m_channel->Volume()) + u"): " + text);
    m_engine->Serve(m_channel);
    if (!(flags & SPF_ASYNC)) m_channel->WaitForStream(stream);
    return S_OK;
}

STDMETHODIMP SpVoice::GetStatus(SPVOICESTATUS* status, LPWSTR* lastBookmark) {
    if (status) m_channel->Status(*status);
    if (lastBookmark) return CopyToTaskString(u"", lastBookmark);
    return S_OK;
}

STDMETHODIMP SpVoice::Pause() {
    if (m_channel->SetPaused(true)) Journal(u"pause");
    return S_OK;
}

STDMETHODIMP SpVoice::Resume() {
    if (m_channel->SetPaused(false)) Journal(u"resume");
    return S_OK;
}

STDMETHODIMP SpVoice::SetRate(LONG rate) {
    m_channel->SetRate(rate);
    return S_OK;
}

STDMETHODIMP SpVoice::GetRate(LONG* rate) {
    if (!rate) return E_POINTER;
    *rate = m_channel->Rate();
    return S_OK;
}

STDMETHODIMP SpVoice::SetVolume(USHORT volume) {
    m_channel->SetVolume(volume);
    return S_OK;
}

STDMETHODIMP SpVoice::GetVolume(USHORT* volume) {
    if (!volume) return E_POINTER;
    *volume = m_channel->Volume();
    return S_OK;
}

STDMETHODIMP SpVoice::GetPlaybackInfo(SpeechPlaybackInfo* info) {
    if (!info) return E_POINTER;
    m_channel->PlaybackInfo(*info);
    return S_OK;
}

void SpVoice::Journal(std::u16string_view kind, std::u16string_view detail) const {
    JournalEffect(kind, m_identity + std::u16string(detail));
}
