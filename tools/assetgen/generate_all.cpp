#include "data_writer.h"
#include "level_data.h"
#include "models.h"
#include "palette.h"
#include "sound_effects.h"
#include "textures.h"

void writeAllData(DataWriter& out)
{
    out.texture(PaletteTexture, paletteImage());
    out.texture(GroundTexture, groundImage());
    out.texture(RoadTexture, roadImage());
    out.texture(SkyTexture, skyImage());

    out.ase("main.ASE", buildMainMenu());
    out.ase("HeroHeli.ASE", buildHeroHeli());
    out.ase("Loading.ASE", buildLoading());
    out.ase("Instructions.ASE", buildInstructions());
    for (int i = 0; i < 4; ++i)
        out.ase("Credits" + std::to_string(i) + ".ASE", buildCredits(i));

    out.ase("fuel.ASE", buildFuelGauge());
    out.ase("lives.ASE", buildLivesIcon());
    out.ase("HeliMeters.ASE", buildHeliMeters());

    out.ase("Ready.ASE", buildReady());
    out.ase("NumberThree.ASE", buildNumber(3));
    out.ase("NumberTwo.ASE", buildNumber(2));
    out.ase("NumberOne.ASE", buildNumber(1));
    out.ase("Winning.ASE", buildWinning());
    out.ase("Loosing.ASE", buildLoosing());
    out.ase("Paused.ASE", buildPaused());

    out.ase("MilitaryBase.ASE", buildMilitaryBase(0));
    out.ase("MilitaryBase1.ASE", buildMilitaryBase(1));
    out.ase("MilitaryBase2.ASE", buildMilitaryBase(2));
    out.ase("bullet.ASE", buildBullet());
    out.ase("Rocket.ASE", buildRocket());
    out.ase("explosion.ASE", buildExplosion());
    out.ase("DestroyHeli(1).ASE", buildDestroyHeli());
    out.ase("Airplane0.ASE", buildAirplane());

    out.ase("map1.ASE", buildMap(1));
    out.ase("map2.ASE", buildMap(2));
    out.ase("road.ASE", buildRoad());
    out.ase("Sky.ASE", buildSky());
    out.text("Patho.txt", courseText());

    for (int i = 0; i < SoundCount; ++i)
        out.sound(SoundFileNames[i], synth::encodeWav(synth::toPcm(makeSound(static_cast<Sound>(i)))));
}
