#include "game/mesh_collider.h"

MeshCollider HeroCollider;
MeshCollider BaseCollider;
