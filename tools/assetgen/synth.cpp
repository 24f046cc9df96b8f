#include "synth.h"

#include "random.h"

#include <algorithm>
#include <cmath>

namespace synth {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Dt = 1.0 / SampleRate;

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(tag[i]));
}

} // namespace

Samples noise(int count, uint64_t seed)
{
    Random r(seed);
    Samples s(count);
    for (double& v : s)
        v = r.unit() * 2.0 - 1.0;
    return s;
}

Samples tone(int count, const std::function<double(double)>& frequency)
{
    Samples s(count);
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        s[i] = std::sin(phase);
        phase += 2.0 * Pi * frequency(i * Dt) * Dt;
        if (phase > 2.0 * Pi)
            phase -= 2.0 * Pi;
    }
    return s;
}

Samples lowPass(const Samples& in, const std::function<double(double)>& cutoff)
{
    Samples out(in.size());
    double y = 0.0;
    for (size_t i = 0; i < in.size(); ++i) {
        const double a = 1.0 - std::exp(-2.0 * Pi * cutoff(i * Dt) * Dt);
        y += a * (in[i] - y);
        out[i] = y;
    }
    return out;
}

Samples highPass(const Samples& in, double cutoff)
{
    Samples low = lowPass(in, [cutoff](double) { return cutoff; });
    for (size_t i = 0; i < in.size(); ++i)
        low[i] = in[i] - low[i];
    return low;
}

Samples bandPass(const Samples& in, const std::function<double(double)>& centre, double q)
{
    Samples out(in.size());
    double low = 0.0, band = 0.0;
    const double damping = 1.0 / q;
    for (size_t i = 0; i < in.size(); ++i) {
        const double f = 2.0 * std::sin(Pi * std::min(centre(i * Dt), SampleRate / 6.0) * Dt);
        const double high = in[i] - low - damping * band;
        band += f * high;
        low += f * band;
        out[i] = band;
    }
    return out;
}

void shape(Samples& s, const std::function<double(double)>& envelope)
{
    for (size_t i = 0; i < s.size(); ++i)
        s[i] *= envelope(i * Dt);
}

double hit(double t, double start, double attack, double decay)
{
    if (t < start)
        return 0.0;
    if (t < start + attack)
        return (t - start) / attack;
    return std::exp(-(t - start - attack) / decay);
}

void mix(Samples& out, const Samples& in, double gain, int at)
{
    if (out.size() < at + in.size())
        out.resize(at + in.size(), 0.0);
    for (size_t i = 0; i < in.size(); ++i)
        out[at + i] += gain * in[i];
}

void finish(Samples& s, double peak, double fade)
{
    double top = 0.0;
    for (double v : s)
        top = std::max(top, std::abs(v));
    if (top > 0.0)
        for (double& v : s)
            v *= peak / top;
    const size_t n = std::min(s.size() / 2, static_cast<size_t>(samplesFor(fade)));
    for (size_t i = 0; i < n; ++i) {
        const double g = 0.5 - 0.5 * std::cos(Pi * double(i) / double(n));
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
}

std::vector<int16_t> toPcm(const Samples& s)
{
    std::vector<int16_t> pcm(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        pcm[i] = static_cast<int16_t>(std::clamp(std::lround(s[i] * 32767.0), -32767l, 32767l));
    return pcm;
}

std::vector<uint8_t> encodeWav(const std::vector<int16_t>& pcm)
{
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, SampleRate);
    put32(out, SampleRate * 2); // bytes a second
    put16(out, 2);              // bytes a frame
    put16(out, 16);             // bits a sample
    putTag(out, "data");
    put32(out, dataBytes);
    for (int16_t v : pcm)
        put16(out, static_cast<uint16_t>(v));
    return out;
}

} // namespace synth
