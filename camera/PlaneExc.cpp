#include "camera/PlaneExc.h"

namespace common::camera {

const char* PlaneExc::what() const noexcept {
    return "Invalid parameters specified";
}

}  // namespace common::camera
