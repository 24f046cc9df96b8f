// The game's sounds through SDL2_mixer: each event a chunk on a channel of
// its own, at its volume and pan; the rotor a loop that the mixer's music
// hook plays at a rate that glides after the one the game asks for
// (SDL2_mixer has no pitch control of its own).

#include "platform/sound_sdl.h"

#include "input/platform.h"
#include "world/sound_files.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#ifdef __unix__
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// The rotor's level under the events, and how fast it follows the game:
// it fades in or out over 50 ms and reaches a new rate within about half a
// second.
constexpr float RotorLevel = 0.35f;
constexpr double RotorFadeSeconds = 0.05;
constexpr double RotorGlideSeconds = 0.15;

struct RotorLoop {
    std::vector<int16_t> samples; // mono, at SoundSampleRate
    // Set by the game's thread.
    std::atomic<float> rate{1.0f};
    std::atomic<float> gain{0.0f};
    // The mixer's thread only.
    double phase = 0.0;
    double rateNow = 1.0;
    double gainNow = 0.0;
    int outputRate = 44100;
    int channels = 2;
};

bool Open = false;
bool WasMuted = false;
bool WasPaused = false;
Mix_Chunk* Chunks[SoundCount] = {};
RotorLoop Rotor;

// Adds the loop to the mixer's output (signed 16-bit, interleaved),
// reading it at the gliding rate with linear interpolation.
void mixRotor(void* data, Uint8* stream, int length)
{
    RotorLoop& r = *static_cast<RotorLoop*>(data);
    const size_t n = r.samples.size();
    if (n == 0)
        return;
    int16_t* out = reinterpret_cast<int16_t*>(stream);
    const int frames = length / (2 * r.channels);
    const double step = double(SoundSampleRate) / r.outputRate;
    const double fade = 1.0 / (RotorFadeSeconds * r.outputRate);
    const double glide = 1.0 / (RotorGlideSeconds * r.outputRate);
    const double targetGain = r.gain.load(std::memory_order_relaxed);
    const double targetRate = r.rate.load(std::memory_order_relaxed);
    for (int f = 0; f < frames; ++f) {
        r.gainNow += std::clamp(targetGain - r.gainNow, -fade, fade);
        r.rateNow += (targetRate - r.rateNow) * glide;
        const size_t i = static_cast<size_t>(r.phase);
        const double a = r.samples[i], b = r.samples[(i + 1) % n];
        const int v = static_cast<int>(std::lround((a + (b - a) * (r.phase - double(i))) * r.gainNow));
        for (int c = 0; c < r.channels; ++c) {
            int16_t& o = out[f * r.channels + c];
            o = static_cast<int16_t>(std::clamp(o + v, -32768, 32767));
        }
        r.phase += step * r.rateNow;
        if (r.phase >= double(n))
            r.phase -= double(n);
    }
}

// Opens the device with standard error shut: ALSA's library writes a
// page of its own to it when there is no sound card, and the game's one
// line says all a player needs.
bool openDevice()
{
#ifdef __unix__
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int quiet = open("/dev/null", O_WRONLY);
    if (saved >= 0 && quiet >= 0)
        dup2(quiet, STDERR_FILENO);
#endif
    const bool opened =
        SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) == 0;
#ifdef __unix__
    std::fflush(stderr);
    if (saved >= 0) {
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    if (quiet >= 0)
        close(quiet);
#endif
    return opened;
}

bool readRotor(std::string* error)
{
    WavSound wav;
    if (!readWavFile(soundFileName(Sound::Rotor), &wav, error))
        return false;
    if (wav.channels != 1 || wav.sampleRate != SoundSampleRate || wav.samples.empty()) {
        *error = "not mono at the game's rate";
        return false;
    }
    Rotor.samples = std::move(wav.samples);
    return true;
}

} // namespace

void platformOpenSound()
{
    if (Open)
        return;
    if (!openDevice()) {
        std::fprintf(stderr, "kestrava: no sound device (%s); the game runs silently\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    Open = true;
    Mix_AllocateChannels(16);
    Uint16 format = 0;
    Mix_QuerySpec(&Rotor.outputRate, &format, &Rotor.channels);

    std::string missing;
    const auto tellMissing = [&missing](Sound sound, const std::string& why) {
        missing += std::string(missing.empty() ? "" : ", ") + soundFileName(sound) + " (" + why + ")";
    };
    for (int i = 0; i < SoundCount; ++i) {
        const Sound sound = static_cast<Sound>(i);
        if (sound == Sound::Rotor)
            continue;
        Chunks[i] = Mix_LoadWAV(soundFileName(sound));
        if (!Chunks[i])
            tellMissing(sound, std::ifstream(soundFileName(sound)).good() ? SDL_GetError() : "missing");
    }
    std::string error;
    if (format != AUDIO_S16SYS)
        tellMissing(Sound::Rotor, "the device is not 16-bit");
    else if (!readRotor(&error))
        tellMissing(Sound::Rotor, error);
    else
        Mix_HookMusic(mixRotor, &Rotor);
    if (!missing.empty())
        std::fprintf(stderr, "kestrava: these sounds stay silent: %s\n", missing.c_str());
}

void platformPlaySounds(const FrameSounds& sounds, bool muted)
{
    if (!Open)
        return;
    if (muted) {
        if (!WasMuted)
            Mix_HaltChannel(-1);
        WasMuted = true;
        Rotor.gain.store(0.0f, std::memory_order_relaxed);
        return;
    }
    WasMuted = false;
    if (sounds.paused != WasPaused) {
        if (sounds.paused)
            Mix_Pause(-1);
        else
            Mix_Resume(-1);
        WasPaused = sounds.paused;
    }
    Rotor.rate.store(sounds.rotorRate, std::memory_order_relaxed);
    Rotor.gain.store(sounds.rotor ? RotorLevel : 0.0f, std::memory_order_relaxed);
    for (const SoundEvent& e : sounds.events) {
        Mix_Chunk* chunk = Chunks[static_cast<int>(e.sound)];
        if (!chunk)
            continue;
        // Every channel busy: the sound that has played longest gives way.
        int channel = Mix_GroupAvailable(-1);
        if (channel < 0) {
            channel = Mix_GroupOldest(-1);
            if (channel < 0)
                continue;
            Mix_HaltChannel(channel);
        }
        Mix_Volume(channel,
                   std::clamp(static_cast<int>(std::lround(e.volume * MIX_MAX_VOLUME)), 0, MIX_MAX_VOLUME));
        const float pan = std::clamp(e.pan, -1.0f, 1.0f);
        Mix_SetPanning(channel, static_cast<Uint8>(std::lround(255.0f * std::min(1.0f, 1.0f - pan))),
                       static_cast<Uint8>(std::lround(255.0f * std::min(1.0f, 1.0f + pan))));
        Mix_PlayChannel(channel, chunk, 0);
    }
}

void closeSound()
{
    if (!Open)
        return;
    Mix_HookMusic(nullptr, nullptr);
    Mix_HaltChannel(-1);
    for (Mix_Chunk*& chunk : Chunks) {
        if (chunk)
            Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    Open = false;
}
