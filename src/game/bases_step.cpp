#include "game/bases_step.h"

#include "game/game_state.h"
#include "game/placements.h"
#include "world/level_state.h"

#include <cmath>

BaseSight baseFrame(MilitaryBase& base, const Matrix4& camera, float pathZ)
{
    BaseSight s;
    s.place = placedAtBase(placedInWorld(camera), base);
    if (base.damage > BaseDestroyedAbove) {
        if (base.wreckPhase < 1.0f) {
            s.look = BaseSight::Wreck;
            s.wreckPhase = base.wreckPhase;
            base.wreckPhase += 0.08f;
        }
        return s;
    }
    if (std::abs(transformPoint(s.place, Origin).z) - std::abs(pathZ) > 275.0f)
        return s;
    s.look = base.damage < BaseDamagedFrom ? BaseSight::Intact : BaseSight::Damaged;
    s.health = base;
    // 40 units above in the camera's frame, at twice the size.
    s.healthBarPlace =
        scaled(placedAtBase(placedInWorld(translated(camera, 0.0f, 40.0f, 0.0f)), base), 2.0f, 2.0f, 2.0f);
    return s;
}

void advanceBases(std::vector<BaseSight>& sights)
{
    const Matrix4 camera = cameraTransform();
    sights.clear();
    for (MilitaryBase& base : Game.MilitaryBases)
        sights.push_back(baseFrame(base, camera, Game.PathZ));
}
