#include "shell/autopilot.h"

#include "game/bases_step.h"
#include "game/enemies_step.h"
#include "game/game_state.h"
#include "game/placements.h"
#include "game/shots_step.h"
#include "input/keyboard.h"
#include "world/process_state.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// What the pilot remembers of an enemy from one frame to the next.
struct EnemyTrack {
    bool seen = false;
    Vec4 eye;           // where it was in the view
    Vec3 velocity;      // its motion in the view over the last frame
    float swayTurn = 0; // the change of its sideways speed: +-0.01 a frame
    float leftmost = 0; // the reach of its sway lately
    float rightmost = 0;
    int hoverFrames = 0; // frames it has kept its height
};

struct Pilot {
    bool on = false;
    int menuFrames = 0;
    int captionFrames = 0;
    int rocketWait = 0; // frames until the next press of Ctrl
    int bulletWait = 0; // of Space
    bool ctrlHeld = false;
    bool spaceHeld = false;
    bool haveCamera = false;
    Matrix4 camera;     // last frame's
    Matrix4 cameraStep; // how the view moved over the last frame
    std::vector<EnemyTrack> enemies;
    std::vector<Vec4> enemyShots; // where each enemy's bullet was

    // What it has told of this game so far.
    bool narrate = false;
    int gameFrames = 0;
    std::vector<float> baseDamage, enemyDamage;
    std::vector<bool> baseTargeted;
    std::vector<bool> enemySighted, enemyGone;
    float health = 0.0f;
    int lives = 0;
    bool ended = false;
};

Pilot pilot;

constexpr int KeyA = 'A', KeyD = 'D', KeyS = 'S';
// A practised thumb: at most one press of a fire key every 8 frames.
constexpr int PressInterval = 8;
// The picture's half-width and half-height at depth 1.
constexpr float ViewHalfHeight = 0.57735f; // tan 30 degrees
constexpr float ViewHalfWidth = ViewHalfHeight * 4.0f / 3.0f;

void press(unsigned char keys[256], int vk) { keys[vk] |= 0x80; }

bool onScreen(Vec4 eye)
{
    return eye.z < -1.0f && std::abs(eye.x) <= -eye.z * ViewHalfWidth &&
           std::abs(eye.y) <= -eye.z * ViewHalfHeight;
}

// The way a shot leaves the hero, as the game launches it.
Vec3 shotDirection(float pitch, float tilt)
{
    const Vec3 d{-std::sin(gameRadians(tilt)), std::sin(gameRadians(pitch)), -std::cos(gameRadians(tilt))};
    const float n = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    return {d.x / n, d.y / n, d.z / n};
}

Vec4 muzzle() { return {Game.HeliOffsetX, Game.HeliOffsetY, Game.HeliOffsetZ - 3.0f, 1.0f}; }

Vec4 along(Vec4 p, Vec3 d, float s) { return {p.x + d.x * s, p.y + d.y * s, p.z + d.z * s, 1.0f}; }

// The tilt that points a shot from the muzzle at an eye-space point.
float tiltToward(Vec4 target)
{
    const Vec4 m = muzzle();
    return std::clamp(gameDegrees(std::atan2(m.x - target.x, m.z - target.z)), -40.0f, 40.0f);
}

Matrix4 power(const Matrix4& step, int n)
{
    Matrix4 out;
    for (int i = 0; i < n; ++i)
        out = step * out;
    return out;
}

// ---- Bases -----------------------------------------------------------

// Where a rocket bursts on a base: anywhere over its ground, up to a few
// times the height of its buildings (in the base's own frame, z up).
bool insideBase(Vec4 p)
{
    return std::abs(p.x) < 22.0f && std::abs(p.y) < 22.0f && p.z > 0.5f && p.z < 40.0f;
}

// Rockets already flying that will come down on the base.
int rocketsBound(const MilitaryBase& base)
{
    const Matrix4 toBase = inverse(placedAtBase(placedInWorld(Matrix4()), base));
    int n = 0;
    for (const Projectile& r : Game.Rockets) {
        if (r.fresh || r.spent || r.age > 0.0f)
            continue;
        const Matrix4 m = toBase * r.launchFrame;
        for (float s = 0.0f; s < 450.0f; s += RocketSpeed) {
            const Vec4 p = along(r.position, r.direction, s);
            if (p.x * p.x + p.y * p.y + p.z * p.z > RocketRangeSquared)
                break;
            if (insideBase(transformPoint(m, p))) {
                ++n;
                break;
            }
        }
    }
    return n;
}

// The base a rocket fired in the coming frame would come down on first, or
// null. Wrecks stop rockets too, long after they have sunk from sight.
const MilitaryBase* rocketWouldHit(const Matrix4& nextCamera)
{
    std::vector<Matrix4> toBase;
    for (const MilitaryBase& b : Game.MilitaryBases)
        toBase.push_back(inverse(placedAtBase(placedInWorld(nextCamera), b)));
    const Vec3 d = shotDirection(Game.HeliPitch - RocketDrop, Game.HeliTilt);
    for (float s = RocketSpeed;; s += RocketSpeed) {
        const Vec4 p = along(muzzle(), d, s);
        if (p.x * p.x + p.y * p.y + p.z * p.z > RocketRangeSquared)
            return nullptr;
        for (size_t i = 0; i < Game.MilitaryBases.size(); ++i)
            if (insideBase(transformPoint(toBase[i], p)))
                return &Game.MilitaryBases[i];
    }
}

// ---- Enemies ---------------------------------------------------------

bool hovering(const EnemyTrack& t) { return t.seen && t.hoverFrames >= 2; }

// Where a hovering enemy will be k frames on: its sway goes on, pushed one
// way until its sideways speed passes 0.3, then the other.
Vec4 enemyAhead(const EnemyTrack& t, int k, float* rollOut)
{
    Vec4 p = t.eye;
    float v = t.velocity.x, turn = t.swayTurn == 0.0f ? -0.01f : t.swayTurn;
    for (int i = 0; i < k; ++i) {
        if (v > 0.3f && turn > 0.0f)
            turn = -0.01f;
        else if (v < -0.3f && turn < 0.0f)
            turn = 0.01f;
        v += turn;
        p.x += v;
        p.z += t.velocity.z;
    }
    *rollOut = v * 100.0f;
    return p;
}

// The cabin, where bullets hit (in the helicopter's own frame).
bool insideHelicopter(Vec4 p)
{
    return std::abs(p.x) < 0.55f && std::abs(p.y) < 0.4f && p.z > -0.8f && p.z < 2.3f;
}

// Would a bullet fired in the coming frame pass a flank through the enemy?
bool bulletWouldHit(const EnemyHeli& enemy, const EnemyTrack& t, const Matrix4& step)
{
    const Vec3 d = shotDirection(Game.HeliPitch, Game.HeliTilt);
    const Matrix4 turn = rotatedXYZ(Matrix4(), Game.HeliPitch, Game.HeliTilt, Game.HeliRoll);
    const Vec4 flankRight = transformPoint(turn, Vec4{2, 0, 0, 1}),
               flankLeft = transformPoint(turn, Vec4{-2, 0, 0, 1});
    for (int k = 1; k <= 30; ++k) {
        const Vec4 centre = along(muzzle(), d, BulletSpeed * k);
        if (centre.x * centre.x + centre.y * centre.y + centre.z * centre.z > BulletRangeSquared)
            return false;
        float roll = 0.0f;
        const Vec4 at = enemyAhead(t, k, &roll);
        const Matrix4 model = inverse(rotatedXYZ(rotated(translated(Matrix4(), at), 180.0f, 0.0f, 1.0f, 0.0f),
                                                 enemy.angles.x, enemy.angles.y, roll));
        const Matrix4 view = model * power(step, k - 1);
        for (Vec4 flank : {flankRight, flankLeft})
            if (insideHelicopter(transformPoint(
                    view, Vec4{centre.x + flank.x, centre.y + flank.y, centre.z + flank.z, 1})))
                return true;
    }
    return false;
}

// ---- What it tells ---------------------------------------------------

void tell(const char* what, int number = 0, float value = 0.0f)
{
    if (!pilot.narrate)
        return;
    std::printf("demo: frame %d: ", pilot.gameFrames);
    std::printf(what, number, value);
    std::printf("\n");
    std::fflush(stdout);
}

// Tells what changed on the screen since the last frame: hits on the
// bases, the enemies and the hero, and the end of the game.
void narrate()
{
    if (pilot.gameFrames == 1) {
        pilot.baseDamage.assign(Game.MilitaryBases.size(), 0.0f);
        pilot.enemyDamage.assign(Game.EnemyHelis.size(), 0.0f);
        pilot.enemySighted.assign(Game.EnemyHelis.size(), false);
        pilot.enemyGone.assign(Game.EnemyHelis.size(), false);
        pilot.baseTargeted.assign(Game.MilitaryBases.size(), false);
        pilot.health = Game.HeroHealth.health;
        pilot.lives = Game.Lives;
        pilot.ended = false;
        tell("a game begins");
    }
    for (size_t i = 0; i < Game.MilitaryBases.size() && i < pilot.baseDamage.size(); ++i) {
        const float damage = Game.MilitaryBases[i].damage;
        if (damage > pilot.baseDamage[i] && pilot.baseDamage[i] <= BaseDestroyedAbove)
            tell(damage > BaseDestroyedAbove ? "base %d destroyed" : "base %d hit, its health %.0f",
                 static_cast<int>(i) + 1, Game.MilitaryBases[i].health);
        pilot.baseDamage[i] = damage;
    }
    for (size_t i = 0; i < Game.EnemyHelis.size() && i < pilot.enemyDamage.size(); ++i) {
        const EnemyHeli& e = Game.EnemyHelis[i];
        if (!pilot.enemySighted[i] && i < pilot.enemies.size() && hovering(pilot.enemies[i])) {
            pilot.enemySighted[i] = true;
            tell("enemy %d hovers ahead, firing", static_cast<int>(i) + 1);
        }
        if (e.damage > pilot.enemyDamage[i] && pilot.enemyDamage[i] < EnemyDownAt) {
            if (e.damage < EnemyDownAt) {
                tell("enemy %d hit, its health %.0f", static_cast<int>(i) + 1, e.health);
            } else if (pilot.narrate) {
                // Where it falls, in the 800 by 600 picture, for whoever
                // wants to look.
                const Vec4 eye = transformPoint(translated(enemyAnchorFrame(e), e.position), Origin);
                const int x = static_cast<int>(400.0f + 400.0f * eye.x / (-eye.z * ViewHalfWidth));
                const int y = static_cast<int>(300.0f - 300.0f * eye.y / (-eye.z * ViewHalfHeight));
                std::printf("demo: frame %d: enemy %zu down, at %d %d in the picture\n", pilot.gameFrames,
                            i + 1, eye.z < 0.0f ? x : -1, eye.z < 0.0f ? y : -1);
                std::fflush(stdout);
            }
        }
        pilot.enemyDamage[i] = e.damage;
        if (e.dead && !pilot.enemyGone[i]) {
            pilot.enemyGone[i] = true;
            tell("enemy %d has crashed", static_cast<int>(i) + 1);
        }
    }
    if (Game.HeroHealth.health != pilot.health || Game.Lives != pilot.lives) {
        tell(Game.Lives < pilot.lives ? "hit by enemy fire: a life lost, %d left"
                                      : "hit by enemy fire, %d lives, health %.1f",
             Game.Lives, Game.HeroHealth.health);
        pilot.health = Game.HeroHealth.health;
        pilot.lives = Game.Lives;
    }
    if (!pilot.ended && (Game.GameWon || Game.Fuel <= LowFuel || Game.Lives == 0)) {
        pilot.ended = true;
        tell(Game.GameWon ? "mission complete, %d lives and %.0f fuel left"
                          : "mission failed, %d lives and %.0f fuel left",
             Game.Lives, Game.Fuel);
    }
}

// ---- The pilot's frame -----------------------------------------------

void lookAtEnemies()
{
    pilot.enemies.resize(Game.EnemyHelis.size());
    for (size_t i = 0; i < Game.EnemyHelis.size(); ++i) {
        const EnemyHeli& e = Game.EnemyHelis[i];
        EnemyTrack& t = pilot.enemies[i];
        const bool waiting = std::abs(e.spawn.z + Game.PathZ) > EnemyNearZ && e.spawn.y <= e.position.y;
        const Vec4 eye = transformPoint(translated(enemyAnchorFrame(e), e.position), Origin);
        if (e.dead || waiting || e.damage >= EnemyDownAt || !onScreen(eye)) {
            t = EnemyTrack{};
            continue;
        }
        if (t.seen) {
            const Vec3 v{eye.x - t.eye.x, eye.y - t.eye.y, eye.z - t.eye.z};
            t.swayTurn = v.x - t.velocity.x;
            t.velocity = v;
            t.hoverFrames = std::abs(v.y) < 0.3f ? t.hoverFrames + 1 : 0;
            t.leftmost = std::min(t.leftmost + 0.02f, eye.x);
            t.rightmost = std::max(t.rightmost - 0.02f, eye.x);
        } else {
            t.leftmost = t.rightmost = eye.x;
        }
        t.eye = eye;
        t.seen = true;
    }
}

// An enemy bullet on its way to the hero: which way to slide, or 0.
int dodge()
{
    pilot.enemyShots.resize(Game.EnemyHelis.size(), Vec4{});
    int away = 0;
    float closest = 1e9f;
    for (size_t i = 0; i < Game.EnemyHelis.size(); ++i) {
        const EnemyHeli& e = Game.EnemyHelis[i];
        const Vec4 was = pilot.enemyShots[i];
        pilot.enemyShots[i] = Vec4{};
        if (e.dead || !e.active || !e.firing)
            continue;
        const Vec4 shot = transformPoint(translated(enemyAnchorFrame(e), e.shot.position), Origin);
        pilot.enemyShots[i] = shot;
        const Vec3 v{shot.x - was.x, shot.y - was.y, shot.z - was.z};
        if (was.w == 0.0f || v.z <= 0.05f || shot.z > Game.HeliOffsetZ + 1.0f || std::abs(v.x) > 2.0f)
            continue;
        const float frames = (Game.HeliOffsetZ - shot.z) / v.z;
        const float x = shot.x + v.x * frames, y = shot.y + v.y * frames;
        // Room to slide out of its way before it arrives.
        const float miss = x - Game.HeliOffsetX;
        if (std::abs(miss) > 1.8f || std::abs(y - Game.HeliOffsetY) > 1.5f || frames > 40.0f ||
            frames >= closest)
            continue;
        closest = frames;
        away = miss > 0.0f ? -1 : 1;
        if (Game.HeliOffsetX <= -4.8f && away < 0)
            away = 1;
        if (Game.HeliOffsetX >= 4.8f && away > 0)
            away = -1;
    }
    return away;
}

void slide(unsigned char keys[256], float towardX)
{
    if (towardX < Game.HeliOffsetX - 0.15f)
        press(keys, VK_LEFT);
    else if (towardX > Game.HeliOffsetX + 0.15f)
        press(keys, VK_RIGHT);
}

void turn(unsigned char keys[256], float towardTilt)
{
    if (towardTilt > Game.HeliTilt + 0.3f)
        press(keys, KeyA);
    else if (towardTilt < Game.HeliTilt - 0.3f)
        press(keys, KeyD);
    else if (towardTilt > Game.HeliTilt)
        press(keys, KeyA); // held a frame now and then: the idle sway stays small
}

void playFrame(unsigned char keys[256])
{
    const Matrix4 camera = cameraTransform();
    pilot.cameraStep = pilot.haveCamera ? camera * inverse(pilot.camera) : Matrix4();
    pilot.camera = camera;
    pilot.haveCamera = true;
    const Matrix4 nextCamera = pilot.cameraStep * camera;
    lookAtEnemies();

    // The base to rocket: of those on screen that still need rockets and
    // can still be brought under the sights before they pass, the one that
    // needs the least turning.
    const float speed = std::max(0.3f, std::sqrt(pilot.cameraStep.m[12] * pilot.cameraStep.m[12] +
                                                 pilot.cameraStep.m[14] * pilot.cameraStep.m[14]));
    const MilitaryBase* base = nullptr;
    Vec4 baseEye;
    float baseFrames = 0.0f;
    for (const MilitaryBase& b : Game.MilitaryBases) {
        if (b.damage > BaseDestroyedAbove)
            continue;
        const Vec4 eye = transformPoint(placedAtBase(placedInWorld(camera), b), Origin);
        if (eye.z > -50.0f || eye.z < -440.0f || !onScreen(eye))
            continue;
        const int hitsLeft = 6 - static_cast<int>(b.damage);
        if (rocketsBound(b) >= hitsLeft)
            continue;
        const float frames = std::abs(tiltToward(eye) - Game.HeliTilt) / 0.4f + hitsLeft * PressInterval;
        if (frames > (-eye.z - 50.0f) / speed)
            continue;
        if (!base || frames < baseFrames) {
            base = &b;
            baseEye = eye;
            baseFrames = frames;
        }
    }

    // The enemy to shoot: the hovering one with the fewest hits left.
    const EnemyHeli* enemy = nullptr;
    const EnemyTrack* track = nullptr;
    for (size_t i = 0; i < Game.EnemyHelis.size(); ++i) {
        const EnemyTrack& t = pilot.enemies[i];
        if (!hovering(t))
            continue;
        if (!enemy || Game.EnemyHelis[i].damage > enemy->damage ||
            (Game.EnemyHelis[i].damage == enemy->damage && std::abs(t.eye.x) < std::abs(track->eye.x))) {
            enemy = &Game.EnemyHelis[i];
            track = &t;
        }
    }

    // Aim: the tilt at the base while one is near, else at the enemy; the
    // slide puts a flank of the bullets' line on the enemy's sway.
    float wantTilt = 0.0f, wantX = 0.0f;
    if (enemy) {
        const float centre = 0.5f * (track->leftmost + track->rightmost);
        const float depth = Game.HeliOffsetZ - 3.0f - track->eye.z; // from the muzzle
        const float flank = centre > 0.0f ? -2.0f : 2.0f;
        const float aim = centre + flank;
        wantX = std::clamp(aim, -4.5f, 4.5f);
        wantTilt = std::clamp(gameDegrees(std::atan2(wantX - aim, depth)), -40.0f, 40.0f);
    }
    // The pitch: level for the bullets, or for a rocket to come down on
    // the middle of the base (it leaves 20 degrees below the nose).
    float wantPitch = 0.0f;
    if (base) {
        wantTilt = tiltToward(baseEye);
        const Vec4 m = muzzle();
        const float across = std::hypot(baseEye.x - m.x, baseEye.z - m.z);
        const float fall = std::atan2(m.y - (baseEye.y + 8.0f), across);
        wantPitch = RocketDrop - gameDegrees(std::asin(std::clamp(std::tan(fall), -1.0f, 1.0f)));
        wantPitch = std::clamp(wantPitch, -24.0f, 24.0f);
    }
    if (wantPitch < Game.HeliPitch - 0.3f)
        press(keys, VK_UP);
    else if (wantPitch > Game.HeliPitch + 0.3f)
        press(keys, VK_DOWN);
    const int away = dodge();
    if (away != 0)
        press(keys, away < 0 ? VK_LEFT : VK_RIGHT);
    else
        slide(keys, wantX);
    turn(keys, wantTilt);

    // Fire: a tap of Ctrl or Space when the shot would hit.
    pilot.rocketWait = std::max(0, pilot.rocketWait - 1);
    pilot.bulletWait = std::max(0, pilot.bulletWait - 1);
    if (pilot.ctrlHeld) {
        pilot.ctrlHeld = false;
    } else if (pilot.rocketWait == 0) {
        const MilitaryBase* target = rocketWouldHit(nextCamera);
        if (target && target->damage <= BaseDestroyedAbove &&
            rocketsBound(*target) < 6 - static_cast<int>(target->damage)) {
            press(keys, VK_CONTROL);
            pilot.ctrlHeld = true;
            pilot.rocketWait = PressInterval;
            const size_t i = static_cast<size_t>(target - &Game.MilitaryBases[0]);
            if (i < pilot.baseTargeted.size() && !pilot.baseTargeted[i]) {
                pilot.baseTargeted[i] = true;
                tell("rockets away at base %d", static_cast<int>(i) + 1);
            }
        }
    }
    if (pilot.spaceHeld) {
        pilot.spaceHeld = false;
    } else if (pilot.bulletWait == 0) {
        for (size_t i = 0; i < Game.EnemyHelis.size(); ++i)
            if (hovering(pilot.enemies[i]) &&
                bulletWouldHit(Game.EnemyHelis[i], pilot.enemies[i], pilot.cameraStep)) {
                press(keys, VK_SPACE);
                pilot.spaceHeld = true;
                pilot.bulletWait = PressInterval;
                break;
            }
    }
}

} // namespace

void setAutopilot(bool on, bool narrate)
{
    pilot = Pilot{};
    pilot.on = on;
    pilot.narrate = narrate;
}

bool autopilotOn() { return pilot.on; }

void addAutopilotKeys(unsigned char keys[256])
{
    if (!pilot.on)
        return;
    if (Process.MenuActive) {
        // Start a game once the menu has been seen for a second.
        pilot.captionFrames = 0;
        pilot.gameFrames = 0;
        pilot.haveCamera = false;
        if (++pilot.menuFrames == 60)
            press(keys, KeyS);
        return;
    }
    pilot.menuFrames = 0;
    if (Process.InstructionsActive || Process.CreditsActive) {
        press(keys, VK_ESCAPE);
        return;
    }
    if (!Process.GameActive)
        return;
    ++pilot.gameFrames;
    narrate();
    if (Game.GameWon || Game.Fuel <= LowFuel || Game.Lives == 0) {
        if (++pilot.captionFrames == AutopilotCaptionFrames)
            press(keys, VK_ESCAPE);
        return;
    }
    playFrame(keys);
}
