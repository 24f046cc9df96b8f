// The generated sounds as the build wrote them: their format, their length,
// a level that never clips, silence at both ends, the same bytes as the
// generator makes now, and all of them small.
#include "input/sounds.h"
#include "sound_effects.h"
#include "world/sound_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const std::string DataDir = KESTRAVA_DATA_DIR;

struct Expected {
    Sound sound;
    double shortest, longest; // seconds
};

// How long each sound may run: a gun shot must be over before the next
// bullet a third of a second later; the countdown's ticks before the next
// caption; the rotor loop is sixteen blade passes.
const Expected Sounds[] = {
    {Sound::Rotor, 0.88, 0.90},        {Sound::RocketLaunch, 0.3, 1.0},  {Sound::GunShot, 0.05, 0.3},
    {Sound::Explosion, 0.5, 1.5},      {Sound::BaseDestroyed, 1.2, 3.0}, {Sound::EnemyShot, 0.1, 0.5},
    {Sound::HeroHit, 0.1, 0.6},        {Sound::EnemyCrash, 0.8, 2.0},    {Sound::LifeLost, 0.4, 1.2},
    {Sound::CountdownTick, 0.05, 0.3}, {Sound::CountdownGo, 0.2, 0.8},   {Sound::Won, 0.8, 2.0},
    {Sound::Lost, 0.8, 2.0},           {Sound::MenuSpin, 0.2, 0.6},
};

WavSound readSound(Sound sound)
{
    WavSound wav;
    std::string error;
    EXPECT_TRUE(readWavFile(DataDir + "/" + soundFileName(sound), &wav, &error))
        << soundFileName(sound) << ": " << error;
    return wav;
}

int peak(const std::vector<int16_t>& s, size_t from, size_t to)
{
    int top = 0;
    for (size_t i = from; i < to && i < s.size(); ++i)
        top = std::max(top, std::abs(int(s[i])));
    return top;
}

// Sign changes a second: a rough pitch.
double crossingsPerSecond(const std::vector<int16_t>& s)
{
    int n = 0;
    for (size_t i = 1; i < s.size(); ++i)
        n += (s[i - 1] < 0) != (s[i] < 0);
    return n * double(SoundSampleRate) / double(s.size());
}

} // namespace

TEST(GeneratedSounds, EachIsTheGeneratorsMonoPcmOfItsLengthWithoutClippingSilentAtBothEndsAndAllSmall)
{
    ASSERT_EQ(std::size(Sounds), size_t(SoundCount));
    uintmax_t total = 0;
    for (const Expected& e : Sounds) {
        SCOPED_TRACE(soundFileName(e.sound));
        std::ifstream in(DataDir + "/" + soundFileName(e.sound), std::ios::binary);
        const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
        EXPECT_EQ(file, synth::encodeWav(synth::toPcm(makeSound(e.sound)))) << "the bytes the build wrote";
        total += file.size();
        const WavSound wav = readSound(e.sound);
        EXPECT_EQ(wav.sampleRate, SoundSampleRate);
        EXPECT_EQ(wav.channels, 1);
        EXPECT_EQ(wav.bitsPerSample, 16);
        const double seconds = double(wav.samples.size()) / SoundSampleRate;
        EXPECT_GE(seconds, e.shortest);
        EXPECT_LE(seconds, e.longest);
        // Loud enough to hear, never at full scale.
        const int top = peak(wav.samples, 0, wav.samples.size());
        EXPECT_GT(top, 32767 * 3 / 10);
        EXPECT_LT(top, 32767 * 95 / 100);
        // The first and last ten samples stay under 2% of full scale, and
        // the very ends are silent: no click as a sound starts or stops.
        const size_t n = wav.samples.size();
        EXPECT_LT(peak(wav.samples, 0, 10), 32767 / 50);
        EXPECT_LT(peak(wav.samples, n - 10, n), 32767 / 50);
        EXPECT_LT(std::abs(int(wav.samples.front())), 33);
        EXPECT_LT(std::abs(int(wav.samples.back())), 33);
    }
    EXPECT_LT(total, 1500u * 1000u);
    RecordProperty("total_bytes", static_cast<int>(total));
}

TEST(GeneratedSounds, TheCourseStartsOnAHigherToneThanTheCountdownTicks)
{
    const double tick = crossingsPerSecond(readSound(Sound::CountdownTick).samples);
    const double go = crossingsPerSecond(readSound(Sound::CountdownGo).samples);
    EXPECT_GT(go, 1.5 * tick);
}

TEST(GeneratedSounds, TheRotorLoopBeatsSixteenTimesAndJoinsWithoutASeam)
{
    const std::vector<int16_t> s = readSound(Sound::Rotor).samples;
    ASSERT_EQ(s.size() % 16, 0u);
    const size_t pass = s.size() / 16;
    // Each blade pass is loud in its first quarter and has died away by its
    // end, so the end of the loop meets its start at silence.
    for (size_t k = 0; k < 16; ++k) {
        SCOPED_TRACE(k);
        EXPECT_GT(peak(s, k * pass, k * pass + pass / 4), 32767 / 5);
        EXPECT_LT(peak(s, k * pass + pass - 40, k * pass + pass + 20), 32767 / 50);
    }
}

TEST(SoundFiles, ReadingRefusesWhatIsNotSixteenBitPcm)
{
    std::vector<uint8_t> good = synth::encodeWav({0, 1000, -1000, 0});
    WavSound wav;
    std::string error;
    ASSERT_TRUE(parseWav(good, &wav, &error)) << error;
    EXPECT_EQ(wav.samples, (std::vector<int16_t>{0, 1000, -1000, 0}));

    const struct Damage {
        const char* what;
        size_t at;
        uint8_t value;
    } damages[] = {
        {"not RIFF", 0, 'X'},
        {"8-bit samples", 34, 8},
        {"not PCM", 20, 3},
        {"a data chunk longer than the file", 41, 0x7F},
    };
    for (const Damage& d : damages) {
        std::vector<uint8_t> bad = good;
        bad[d.at] = d.value;
        EXPECT_FALSE(parseWav(bad, &wav, &error)) << d.what;
    }
    good.resize(40);
    EXPECT_FALSE(parseWav(good, &wav, &error)) << "cut before its data";
}
