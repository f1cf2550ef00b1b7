// The tentacle focus's 13-tap Gaussian, centre at index 6, shared by the focus's two halves
// (along the rows, then down the columns).
// Provides: focusWeights.

const float focusWeights[13] = float[](0.002216, 0.008764, 0.026995, 0.064759, 0.120985, 0.176033, 0.199471,
                                       0.176033, 0.120985, 0.064759, 0.026995, 0.008764, 0.002216);
