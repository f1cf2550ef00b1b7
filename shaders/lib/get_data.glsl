// One spectrum bin from the 512 x 1 sound texture, scaled by 1.8. Declares the sampler itself,
// so a file that includes this must not declare soundTexture again.
uniform sampler2D soundTexture;

float getData(int id)
{
    return texture(soundTexture, vec2(float(id) / 512.0, 0.0)).r * 1.8;
}
