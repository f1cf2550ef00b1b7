// The 2D rotation by `angle` radians, columns (cos, sin) and (-sin, cos). Matrix times column
// vector turns counter-clockwise; row vector times matrix turns the other way.
mat2 rotation2(float angle)
{
    float c = cos(angle);
    float s = sin(angle);
    return mat2(c, s, -s, c);
}
