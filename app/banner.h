// The start banner: the group name in large letters and "DEMO ENGINE".
#pragma once
#include <string>

// Six lines, the sixth carrying "DEMO ENGINE", then one empty line.
const std::string& startBanner();
void printStartBanner();
