// True when v lies in the closed interval [start, start + width].
bool inRange(float v, float start, float width)
{
    return start <= v && v <= start + width;
}
