// Hash of a 2D point into [0, 1). The dot product is wrapped into [0, pi) before the sine so
// large arguments (time offsets) keep their precision on every driver.
float random(vec2 p)
{
    return fract(sin(mod(dot(p, vec2(12.9898, 78.233)), 3.1415926535898)) * 43758.5453);
}
