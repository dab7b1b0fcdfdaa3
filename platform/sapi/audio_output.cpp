#include "platform/sapi/audio_output.h"

#include <dlfcn.h>
#include <pcaudiolib/audio.h>

#include <atomic>

namespace {

std::atomic<bool> g_deviceFailed{false};

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// ALSA, under pcaudiolib, prints a failed device probe to stderr; nothing
// of the product writes there, so it is told to keep quiet.
void SilenceAlsaMessages() {
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetErrorHandler = int (*)(ErrorHandler);
    static const bool silenced = [] {
        auto set =
            reinterpret_cast<SetErrorHandler>(dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler"));
        if (set) set(IgnoreAlsaMessage);
        return true;
    }();
    (void)silenced;
}

class DeviceOutput final : public AudioOutput {
public:
    explicit DeviceOutput(audio_object* device) : m_device(device) {}
    ~DeviceOutput() override {
        audio_object_close(m_device);
        audio_object_destroy(m_device);
    }
    void Write(const std::int16_t* samples, std::size_t count) override {
        audio_object_write(m_device, samples, count * sizeof(std::int16_t));
    }
    void Drain() override { audio_object_drain(m_device); }
    void Flush() override { audio_object_flush(m_device); }
    bool PacesItself() const override { return true; }

private:
    audio_object* m_device;
};

class NullOutput final : public AudioOutput {
public:
    void Write(const std::int16_t*, std::size_t) override {}
    void Drain() override {}
    void Flush() override {}
    bool PacesItself() const override { return false; }
};

}  // namespace

std::unique_ptr<AudioOutput> OpenAudioOutput(int sampleRate) {
    if (!g_deviceFailed.load()) {
        SilenceAlsaMessages();
        audio_object* device = create_audio_device_object(nullptr, "Kestro", "Speech");
        if (device && audio_object_open(device, AUDIO_OBJECT_FORMAT_S16LE,
                                        static_cast<uint32_t>(sampleRate), 1) == 0)
            return std::make_unique<DeviceOutput>(device);
        if (device) audio_object_destroy(device);
        g_deviceFailed = true;
    }
    return std::make_unique<NullOutput>();
}
