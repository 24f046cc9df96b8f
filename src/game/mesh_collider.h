#pragma once

// Hit tests of a small sphere against every triangle of one Scene. The
// population binds the two colliders of a level; the hit tests themselves
// come with the combat work.

class Scene;

struct MeshCollider {
    Scene* scene = nullptr; // not owned
    float radius = 0.0005f;

    void bind(Scene* mesh)
    {
        scene = mesh;
        radius = 0.0005f;
    }
};

extern MeshCollider HeroCollider; // over HeroHeliScene
extern MeshCollider BaseCollider; // over MilitaryBaseScene
