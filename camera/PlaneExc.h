#pragma once

#include <exception>

namespace common::camera {

// Thrown when three points do not span a plane (collinear or coincident), for example while a frustum
// with a zero extent is being rebuilt.
class PlaneExc : public std::exception {
  public:
    const char* what() const noexcept override;
};

}  // namespace common::camera
