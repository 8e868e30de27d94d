#include "audio/SoundFile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include <sndfile.h>

namespace common::audio {

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
    throw std::runtime_error("Could not read sound " + path + ": " + reason);
}

// libsndfile reads a RIFF file cut short as far as it goes (a half sound); the header's own length
// tells the file is incomplete.
bool riffCutShort(const std::string& path, std::uintmax_t fileSize) {
    std::ifstream in(path, std::ios::binary);
    std::array<unsigned char, 8> header{};
    if (!in.read(reinterpret_cast<char*>(header.data()), header.size()) ||
        std::string(header.begin(), header.begin() + 4) != "RIFF") {
        return false;
    }
    const std::uintmax_t declared = std::uintmax_t(header[4]) | std::uintmax_t(header[5]) << 8 |
                                    std::uintmax_t(header[6]) << 16 | std::uintmax_t(header[7]) << 24;
    return fileSize < declared + 8;
}

// Sound effects are seconds long; a header claiming more (a damaged or foreign file) is refused
// rather than given gigabytes.
constexpr sf_count_t kMaxFrames = sf_count_t(1) << 23;

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

}  // namespace

SoundClip SoundFile::read(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        fail(path, "no such file");
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size == 0) {
        fail(path, "empty file");
    }
    if (riffCutShort(path, size)) {
        fail(path, "file cut short");
    }

    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        fail(path, sf_strerror(nullptr));
    }
    if (info.channels < 1 || info.channels > 2) {
        fail(path, std::to_string(info.channels) + " channels (1 or 2 expected)");
    }
    if (info.frames <= 0 || info.samplerate <= 0) {
        fail(path, "no samples");
    }
    if (info.frames > kMaxFrames) {
        fail(path, "too long");
    }
    // Floating-point files are scaled to the 16-bit range instead of read as near-silence.
    sf_command(file.get(), SFC_SET_SCALE_FLOAT_INT_READ, nullptr, SF_TRUE);

    SoundClip clip;
    clip.sampleRate = info.samplerate;
    clip.channels = info.channels;
    clip.samples.resize(std::size_t(info.frames) * std::size_t(info.channels));
    if (sf_readf_short(file.get(), clip.samples.data(), info.frames) != info.frames) {
        fail(path, "file cut short");
    }
    return clip;
}

}  // namespace common::audio
