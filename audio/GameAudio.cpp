#include "audio/GameAudio.h"

#include <exception>
#include <filesystem>

#include "audio/OpenAlOutput.h"
#include "audio/SilentOutput.h"
#include "audio/SoundFile.h"

namespace common::audio {

std::unique_ptr<GameAudio> GameAudio::open(const Warning& warning, const std::string& soundDir) {
    std::unique_ptr<OpenAlOutput> device = OpenAlOutput::open();
    if (!device) {
        warning("No audio device: playing without sound");
        return std::unique_ptr<GameAudio>(new GameAudio(std::make_unique<SilentOutput>()));
    }
    return std::make_unique<GameAudio>(std::move(device), soundDir, warning);
}

GameAudio::GameAudio(std::unique_ptr<SoundOutput> output) : output_(std::move(output)), director_(*output_) {}

GameAudio::GameAudio(std::unique_ptr<SoundOutput> output, const std::string& soundDir, const Warning& warning)
    : GameAudio(std::move(output)) {
    hasDevice_ = true;
    for (int i = 0; i < kSoundCount; ++i) {
        const Sound sound = static_cast<Sound>(i);
        const std::string path = (std::filesystem::path(soundDir) / soundFileName(sound)).string();
        try {
            output_->setClip(sound, SoundFile::read(path));
        } catch (const std::exception& error) {
            warning(error.what());
        }
    }
}

int GameAudio::liveSources() {
    return OpenAlOutput::liveSources();
}

int GameAudio::liveBuffers() {
    return OpenAlOutput::liveBuffers();
}

}  // namespace common::audio
