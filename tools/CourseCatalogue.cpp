#include "tools/CourseCatalogue.h"

namespace common::assetgen {

namespace {

// The mountain island: a highland cut by a valley running north, peaks around it, a southern range.
// clang-format off
const std::vector<MountainRange> kMountainRanges = {
    {270, 280, 270, 280, 115, 52},   // the highlands the valley cuts through
    {185, 245, 205, 285, 62, 38},    // the great peak west of the valley
    {340, 220, 362, 275, 55, 24},    // east of the valley
    {215, 366, 345, 346, 40, 24},    // the ridge with the saddle
    {310, 75, 375, 115, 52, 34},     // the southern range
    {135, 330, 160, 355, 50, 32},    // the north-western peak
};
// clang-format on

IslandShape mountainIsland() {
    IslandShape island;
    island.ranges = kMountainRanges;
    // One lake in the south-west, and one under the finish.
    island.lakes = {{160.0, 104.0, 34.0}};
    island.lakeUnderFinish = true;
    return island;
}

// A long gliding descent from high over the north of the island, through the valleys and over a
// saddle, to the finish over the lake.
CourseDesign mountain() {
    // clang-format off
    CourseRoute route{{110.0, 280.0, -432.0}, {
        // A steep dive from the start to gather speed, then south high above the western hills.
        {40, 0, -24}, {28, -8, -11}, {28, 8, -11}, {28, 8, -10}, {28, -8, -10}, {28, -8, -10}, {28, 8, -10},
        {28, 0, -10},
        // Left round the south-west and east over the southern hills.
        {28, 20, -10}, {28, 25, -10}, {28, 25, -10}, {28, 20, -10}, {28, 0, -10},
        // Left again, down into the valley that runs north through the highlands.
        {28, 25, -9}, {28, 30, -9}, {28, 30, -9}, {28, 5, -9}, {28, -10, -9}, {28, 15, -9}, {28, -15, -9},
        // Over the saddle, paid for with speed.
        {30, -10, 4},
        // Right and down to the lake and the finish.
        {28, -15, -10}, {28, -20, -10}, {28, -15, -10}, {28, -5, -9},
    }};
    // clang-format on
    return {"mountain",
            route,
            mountainIsland(),
            "meshes/low_res_Mountain",
            "mountain_player.dae",
            "meshes/heightmap.bmp",
            2048};
}

// A glide keeps its speed only where the course falls at least 3 units a second: every course opens
// with a dive to gather speed and never falls much less than a quarter of a unit per unit after it.

// Its own island: a high, nearly round plateau whose cliffs drop straight into the sea. The course
// dives off the north-west and runs low along the western cliffs and round the south, over the water.
CourseDesign coast() {
    IslandShape island;
    island.seed = 0xC0A57C11Full;
    island.radius = 185.0;
    island.coastRoughness = 0.05;
    island.shoreOuter = 1.0;
    island.shoreInner = 0.94;
    island.plateau = 38.0;
    island.hilliness = 0.6;
    island.ranges = {{256, 256, 256, 256, 90, 30}, {300, 330, 330, 200, 40, 20}};
    // The cliffs may stand close beside the line.
    island.wallSlope = 3.0;
    CourseRoute route{{38.0, 156.0, -440.0}, {{40, 0, -26}}};
    for (int leg = 0; leg < 4; ++leg) {
        route.legs.push_back({26, 0, -10});
    }
    for (int leg = 0; leg < 6; ++leg) {
        route.legs.push_back({26, 9, -10});
    }
    return {"coast", route, island, "courses/coast", "scene.dae", "courses/coast/heightmap.bmp", 1024};
}

// Down the middle of the mountain island, weaving between peaks that stand on the inside of every turn.
CourseDesign slalom() {
    IslandShape island = mountainIsland();
    island.seed = 0x51A10Bull;
    island.turnPeakHeight = 55.0;
    island.turnPeakDistance = 24.0;
    island.turnPeakRadius = 26.0;
    island.wallSlope = 2.0;
    island.floorHalfWidth = 5.0;
    CourseRoute route{{256.0, 175.0, -470.0}, {{40, 0, -28}, {30, 0, -20}, {30, 25, -10}}};
    for (int leg = 0; leg < 8; ++leg) {
        route.legs.push_back({30, leg % 2 == 0 ? -50.0 : 50.0, -10});
    }
    route.legs.push_back({30, -25, -9});
    return {"slalom", route, island, "courses/slalom", "scene.dae", "courses/slalom/heightmap.bmp", 1024};
}

// The long one: high over the north-west, a dive to full speed, then a full circuit of the mountain
// island, lower on every side, to a lake under the finish.
CourseDesign marathon() {
    CourseRoute route{{100.0, 390.0, -450.0}, {{40, 0, -30}}};
    for (int leg = 0; leg < 3; ++leg) {
        route.legs.push_back({20, 0, -12});
    }
    for (int leg = 0; leg < 50; ++leg) {
        route.legs.push_back({20, 7.35, -5.8});
    }
    return {"marathon",
            route,
            mountainIsland(),
            "courses/marathon",
            "scene.dae",
            "courses/marathon/heightmap.bmp",
            1024};
}

}  // namespace

std::vector<CourseDesign> CourseCatalogue::designs() {
    return {mountain(), coast(), slalom(), marathon()};
}

}  // namespace common::assetgen
