// The stand level's road on a screen of 1024 x 768 pixels: nothing a user needs covered, cut or off
// the screen (layout_road.h).
#include "tests/simulator/forms/layout_road.h"

int main(int argc, char** argv) { return RunLayoutRoad(argc, argv, 1024); }

#include "moc_layout_road.cpp"
