// One spectrum bin from the 512 x 1 sound texture, scaled by 1.8. Expects the including file to
// declare `uniform sampler2D soundTexture`.
float getData(int id)
{
    return texelFetch(soundTexture, ivec2(id & 511, 0), 0).r * 1.8;
}
