// The voice object. Each one has its own voice, rate, volume, queue and
// state, a player thread of its own and a turn on the process's engine.
// Speaking, pausing, resuming and purging are written to the effects
// journal as "speak", "pause", "resume" and "purge" lines whose text starts
// with the object's identity "voice N" (N counts the voice objects of the
// process from 1); a speak line goes on with the engine voice, rate and
// volume and, after ": ", the text:
//
//     speak	voice 1 (gmw/en-US, rate -5, volume 80): Hello
//
// Pause and resume are journalled only when they change the state, purge
// only when it drops something. Creation fails when the engine cannot start.
#pragma once

#include <memory>

#include "platform/com/atl_com.h"
#include "platform/sapi/sapi.h"
#include "platform/sapi/speech_playback_info.h"

class SpeechChannel;
class SpeechEngine;
class SpeechPlayer;

class SpVoice : public CComObjectRootEx<CComMultiThreadModel>,
                public ISpVoice,
                public ISpeechPlaybackInfo {
public:
    BEGIN_COM_MAP(SpVoice)
    COM_INTERFACE_ENTRY(ISpVoice)
    COM_INTERFACE_ENTRY(ISpeechPlaybackInfo)
    END_COM_MAP()

    SpVoice();
    ~SpVoice();
    HRESULT FinalConstruct();
    void FinalRelease();

    STDMETHODIMP SetVoice(ISpObjectToken* token) override;
    STDMETHODIMP GetVoice(ISpObjectToken** token) override;
    STDMETHODIMP Speak(LPCWSTR text, DWORD flags, ULONG* streamNumber) override;
    STDMETHODIMP GetStatus(SPVOICESTATUS* status, LPWSTR* lastBookmark) override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Resume() override;
    STDMETHODIMP SetRate(LONG rate) override;
    STDMETHODIMP GetRate(LONG* rate) override;
    STDMETHODIMP SetVolume(USHORT volume) override;
    STDMETHODIMP GetVolume(USHORT* volume) override;

    STDMETHODIMP GetPlaybackInfo(SpeechPlaybackInfo* info) override;

private:
    void Journal(std::u16string_view kind, std::u16string_view detail = {}) const;

    SpeechEngine* m_engine = nullptr;
    std::shared_ptr<SpeechChannel> m_channel;
    std::unique_ptr<SpeechPlayer> m_player;
    std::u16string m_identity;
};
