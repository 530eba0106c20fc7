// Writes an MP3 file without an encoder, for test fixtures and the simulated
// core's catalogue:
//   korvana-mp3gen FILE [--ms N] [--kbps N] [--rate N] [--mono] [--noise]
//                       [--seed N] [--title T] [--artist A] [--album A]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/media/Mp3Writer.h"

namespace {

bool ParseOption(korvana::mp3gen::Mp3Spec& spec, const std::string& name, const char* value) {
    using korvana::mp3gen::Id3v1Tag;
    auto tag = [&spec]() -> Id3v1Tag& {
        if (!spec.tag) {
            spec.tag.emplace();
        }
        return *spec.tag;
    };
    if (name == "--ms") {
        spec.durationMs = std::atoll(value);
    } else if (name == "--kbps") {
        spec.bitrateKbps = std::atoi(value);
    } else if (name == "--rate") {
        spec.sampleRate = std::atoi(value);
    } else if (name == "--seed") {
        spec.seed = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
    } else if (name == "--title") {
        tag().title = value;
    } else if (name == "--artist") {
        tag().artist = value;
    } else if (name == "--album") {
        tag().album = value;
    } else {
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    // A first word that looks like an option ("--help") is not taken as the
    // file to write.
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: %s FILE [--ms N] [--kbps N] [--rate N] [--mono] [--noise]\n",
                     argv[0]);
        return 2;
    }
    korvana::mp3gen::Mp3Spec spec;
    for (int i = 2; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--mono") {
            spec.stereo = false;
        } else if (name == "--noise") {
            spec.content = korvana::mp3gen::Content::Noise;
        } else if (i + 1 >= argc || !ParseOption(spec, name, argv[i + 1])) {
            std::fprintf(stderr, "unknown or incomplete option %s\n", name.c_str());
            return 2;
        } else {
            ++i;
        }
    }
    if (!korvana::mp3gen::WriteMp3(argv[1], spec)) {
        std::fprintf(stderr, "cannot write %s (bitrate and rate must be MPEG-1's)\n", argv[1]);
        return 1;
    }
    return 0;
}
