#pragma once

namespace common {

// Angles travel between the game's parts in degrees; GLM takes radians. This is the one factor
// between them (the game's figures were tuned with exactly this value).
constexpr double kDegreesToRadians = 0.017453292;
constexpr double kRadiansToDegrees = 57.295776;

constexpr float toRadians(float degrees) {
    return degrees * static_cast<float>(kDegreesToRadians);
}
constexpr double toRadians(double degrees) {
    return degrees * kDegreesToRadians;
}
constexpr float toDegrees(float radians) {
    return radians * static_cast<float>(kRadiansToDegrees);
}

}  // namespace common
