#include "audio/OpenAlOutput.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include <alsa/asoundlib.h>

namespace common::audio {

namespace {

std::atomic<int> liveSourceCount{0};
std::atomic<int> liveBufferCount{0};

// ALSA prints its configuration errors (no card, unknown PCM) on standard error unless an error
// handler takes them; OpenAL Soft's ALSA backend uses the same library instance as we do.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

std::size_t index(Sound sound) {
    return static_cast<std::size_t>(sound);
}

// Engine and wind, the two loops, in that order: also their sources' places.
std::size_t loopSlot(Sound sound) {
    return sound == Sound::Engine ? 0 : 1;
}

// OpenAL takes any pitch above 0 but resamples only up to a limit; keep to a range every version plays.
float playablePitch(float pitch) {
    return std::clamp(pitch, 0.25f, 4.0f);
}

float playableGain(float gain) {
    return std::clamp(gain, 0.0f, 1.0f);
}

}  // namespace

std::unique_ptr<OpenAlOutput> OpenAlOutput::open(const char* deviceName) {
    // OpenAL Soft reads its log level once, on its first call: set it before opening anything.
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    snd_lib_error_set_handler(ignoreAlsaError);

    ALCdevice* device = alcOpenDevice(deviceName);
    if (!device) {
        return nullptr;
    }
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context) {
            alcDestroyContext(context);
        }
        alcCloseDevice(device);
        return nullptr;
    }
    std::unique_ptr<OpenAlOutput> output(new OpenAlOutput(device, context));
    if (!output->createObjects()) {
        return nullptr;
    }
    return output;
}

OpenAlOutput::OpenAlOutput(ALCdevice* device, ALCcontext* context) : device_(device), context_(context) {}

bool OpenAlOutput::createObjects() {
    alGetError();
    alGenBuffers(ALsizei(buffers_.size()), buffers_.data());
    if (alGetError() != AL_NO_ERROR) {
        buffers_.fill(0);
        return false;
    }
    liveBufferCount += int(buffers_.size());
    alGenSources(ALsizei(sources_.size()), sources_.data());
    if (alGetError() != AL_NO_ERROR) {
        sources_.fill(0);
        return false;
    }
    liveSourceCount += int(sources_.size());
    for (ALuint source : sources_) {
        // Every sound is heard as recorded, from the listener's own place: no panning, no distance.
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    }
    for (int loop = 0; loop < kLoops; ++loop) {
        alSourcei(sources_[loop], AL_LOOPING, AL_TRUE);
    }
    return true;
}

OpenAlOutput::~OpenAlOutput() {
    if (sources_[0] != 0) {
        stopAll();
        alDeleteSources(ALsizei(sources_.size()), sources_.data());
        liveSourceCount -= int(sources_.size());
    }
    if (buffers_[0] != 0) {
        alDeleteBuffers(ALsizei(buffers_.size()), buffers_.data());
        liveBufferCount -= int(buffers_.size());
    }
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
}

void OpenAlOutput::setClip(Sound sound, const SoundClip& clip) {
    // A buffer still attached to a source cannot be refilled: detach it everywhere first.
    for (ALuint source : sources_) {
        ALint attached = 0;
        alGetSourcei(source, AL_BUFFER, &attached);
        if (ALuint(attached) == buffers_[index(sound)]) {
            alSourceStop(source);
            alSourcei(source, AL_BUFFER, 0);
        }
    }
    if (isLoop(sound)) {
        loopPlaying_[loopSlot(sound)] = false;
    }

    alGetError();
    const ALenum format = clip.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    alBufferData(buffers_[index(sound)], format, clip.samples.data(),
                 ALsizei(clip.samples.size() * sizeof(clip.samples[0])), clip.sampleRate);
    loaded_[index(sound)] = alGetError() == AL_NO_ERROR;
    if (loaded_[index(sound)] && isLoop(sound)) {
        alSourcei(sources_[loopSlot(sound)], AL_BUFFER, ALint(buffers_[index(sound)]));
    }
}

void OpenAlOutput::playOnce(Sound sound, float pitch, float gain) {
    if (!loaded_[index(sound)] || paused_ || isLoop(sound)) {
        return;
    }
    // Round robin: the voice taken is the one started longest ago, finished or not.
    const ALuint voice = sources_[kLoops + nextVoice_];
    nextVoice_ = (nextVoice_ + 1) % kVoices;
    alSourceStop(voice);
    alSourcei(voice, AL_BUFFER, ALint(buffers_[index(sound)]));
    alSourcef(voice, AL_PITCH, playablePitch(pitch));
    alSourcef(voice, AL_GAIN, playableGain(gain));
    alSourcePlay(voice);
}

void OpenAlOutput::setLoop(Sound sound, float pitch, float gain) {
    if (!loaded_[index(sound)] || !isLoop(sound)) {
        return;
    }
    const ALuint source = sources_[loopSlot(sound)];
    alSourcef(source, AL_PITCH, playablePitch(pitch));
    alSourcef(source, AL_GAIN, playableGain(gain));
    bool& playing = loopPlaying_[loopSlot(sound)];
    if (!playing && !paused_) {
        alSourcePlay(source);
        playing = true;
    }
}

void OpenAlOutput::stopLoop(Sound sound) {
    if (isLoop(sound)) {
        alSourceStop(sources_[loopSlot(sound)]);
        loopPlaying_[loopSlot(sound)] = false;
    }
}

void OpenAlOutput::pauseAll() {
    // Pausing a source that is not playing changes nothing, so all of them can be named.
    alSourcePausev(ALsizei(sources_.size()), sources_.data());
    paused_ = true;
}

void OpenAlOutput::resumeAll() {
    if (!paused_) {
        return;
    }
    paused_ = false;
    std::array<ALuint, kLoops + kVoices> held{};
    ALsizei count = 0;
    for (ALuint source : sources_) {
        ALint state = 0;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state == AL_PAUSED) {
            held[count++] = source;
        }
    }
    if (count > 0) {
        alSourcePlayv(count, held.data());
    }
}

void OpenAlOutput::stopAll() {
    alSourceStopv(ALsizei(sources_.size()), sources_.data());
    loopPlaying_.fill(false);
    paused_ = false;
}

// Both through the listener's gain: every source, playing or not, follows at once.
void OpenAlOutput::setMuted(bool muted) {
    muted_ = muted;
    alListenerf(AL_GAIN, muted_ ? 0.0f : volume_);
}

void OpenAlOutput::setVolume(float volume) {
    volume_ = playableGain(volume);
    alListenerf(AL_GAIN, muted_ ? 0.0f : volume_);
}

int OpenAlOutput::liveSources() {
    return liveSourceCount;
}

int OpenAlOutput::liveBuffers() {
    return liveBufferCount;
}

}  // namespace common::audio
