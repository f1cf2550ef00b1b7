// Surface materials of the ray-marched scenes, selected by the object id that a scene's `map`
// returns beside the distance.
// Provides: struct Material (ka ambient, kd diffuse, ks specular, power shininess), the ids
// MATERIAL_TENTACLE, MATERIAL_GROUND, MATERIAL_CUBE, MATERIAL_STRIP, and materialFor(id).
// Expects: nothing.

struct Material {
    float ka;
    float kd;
    float ks;
    float power;
};

const float MATERIAL_TENTACLE = 4.0;  // the tentacle world: dull, with a sharp highlight
const float MATERIAL_GROUND = 5.0;    // glossy black ground: highlights only
const float MATERIAL_CUBE = 12.0;     // glowing cube stacks and pillars
const float MATERIAL_STRIP = 19.0;    // thin glowing strips

// Ids compare with a tolerance because they travel as floats through the distance field.
bool isMaterial(float id, float wanted)
{
    return abs(id - wanted) < 0.5;
}

// Unknown ids get a plain diffuse material.
Material materialFor(float id)
{
    if (isMaterial(id, MATERIAL_TENTACLE))
        return Material(0.1, 0.2, 0.9, 128.0);
    if (isMaterial(id, MATERIAL_GROUND))
        return Material(0.0, 1.0, 1.0, 128.0);
    if (isMaterial(id, MATERIAL_CUBE))
        return Material(1.0, 0.0, 0.6, 28.0);
    if (isMaterial(id, MATERIAL_STRIP))
        return Material(0.1, 0.8, 0.2, 4.0);
    return Material(0.1, 0.9, 0.0, 1.0);
}
