// The start banner text.
#include "app/banner.h"

#include <cstdio>

const std::string& startBanner() {
  static const std::string banner =
      " ZZZZZ  EEEEE  L      M   M   OOO   RRRR    AAA\n"
      "    Z   E      L      MM MM  O   O  R   R  A   A\n"
      "   Z    EEEE   L      M M M  O   O  RRRR   AAAAA\n"
      "  Z     E      L      M   M  O   O  R  R   A   A\n"
      " ZZZZZ  EEEEE  LLLLL  M   M   OOO   R   R  A   A\n"
      "                            DEMO ENGINE\n"
      "\n";
  return banner;
}

void printStartBanner() { std::fputs(startBanner().c_str(), stdout); }
