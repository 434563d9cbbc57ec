// Plays a WAV file through the wave output into memory at a chosen device rate and converter,
// 10 ms at a time as a device would pull it, and writes what came out as a 16-bit stereo WAV.
//   tavrino_resample_wav sinc|hermite IN.wav DEVICE_RATE OUT.wav

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/wav_chunks.hpp"
#include "platform/audio/manual_sink.hpp"
#include "platform/audio/pcm_format.hpp"
#include "platform/audio/wave_output.hpp"
#include "wav_builder.hpp"

namespace {

void note_done(void* done, tav::WaveBuffer&) { *static_cast<bool*>(done) = true; }

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s sinc|hermite IN.wav DEVICE_RATE OUT.wav\n", argv[0]);
        return 2;
    }
    const std::string how = argv[1];
    const auto resampling = how == "hermite" ? tav::Resampling::Hermite : tav::Resampling::Sinc;
    std::ifstream in(argv[2], std::ios::binary);
    const tav::Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto chunks = tav::walk_wav_chunks(file);
    const auto format = chunks ? tav::parse_pcm_format(chunks->format) : std::nullopt;
    if (!format) {
        std::fprintf(stderr, "%s: not a WAV we play\n", argv[2]);
        return 1;
    }
    const auto rate = static_cast<std::uint32_t>(std::atoi(argv[3]));
    auto sink = std::make_unique<tav::ManualSink>(rate, rate / 100);
    tav::ManualSink* manual = sink.get();
    tav::WaveOutput output(std::move(sink), resampling);
    bool done = false;
    tav::Bytes pcm(chunks->data.begin(), chunks->data.end());
    tav::WaveBuffer buffer{pcm.data(), static_cast<std::uint32_t>(pcm.size())};
    const auto h = output.open(chunks->format, &note_done, &done);
    if (!h || !output.prepare(*h, buffer) || !output.write(*h, buffer)) return 1;
    std::vector<std::int16_t> out;
    while (!done) {
        const auto part = manual->pull(rate / 100);
        out.insert(out.end(), part.begin(), part.end());
    }
    const std::uint64_t frames_in = pcm.size() / format->block_align;
    const std::uint64_t frames_out = (frames_in * rate + format->rate - 1) / format->rate;
    out.resize(2 * frames_out);
    tav::Bytes body;
    for (std::int16_t s : out) tav::test::put_le16(body, static_cast<std::uint16_t>(s));
    const tav::Bytes wav = tav::test::make_wav(2, rate, 16, body);
    std::ofstream(argv[4], std::ios::binary)
        .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
    output.close(*h);
    return 0;
}
