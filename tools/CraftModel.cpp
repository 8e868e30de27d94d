#include "tools/CraftModel.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

namespace common::assetgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// The livery texture is split into regions, one per kind of surface (uv origin at the bottom left).
struct Region {
    double u0;
    double v0;
    double u1;
    double v1;
    glm::dvec2 at(double s, double t) const { return {u0 + (u1 - u0) * s, v0 + (v1 - v0) * t}; }
};
constexpr Region kHullRegion{0.0, 0.5, 0.5, 1.0};  // s around the hull, t from tail to nose
constexpr Region kWingRegion{0.5, 0.5, 1.0, 1.0};  // s from root to tip, t from trailing to leading edge
constexpr Region kFinRegion{0.5, 0.0, 1.0, 0.5};   // s from root to tip, t from trailing to leading edge
constexpr Region kGlassRegion{0.0, 0.0, 0.25, 0.25};
constexpr Region kNozzleRegion{0.25, 0.0, 0.5, 0.25};

// One elliptical hull section.
struct Section {
    double z;
    double halfWidth;
    double halfHeight;
    double lift;  // centre height
};

// clang-format off
constexpr std::array<Section, 9> kHull = {{
    {-0.26, 0.030, 0.026, 0.010}, {-0.19, 0.038, 0.034, 0.008}, {-0.10, 0.046, 0.042, 0.006},
    { 0.00, 0.050, 0.046, 0.006}, { 0.09, 0.046, 0.042, 0.006}, { 0.17, 0.034, 0.030, 0.003},
    { 0.23, 0.018, 0.015, 0.000}, { 0.26, 0.006, 0.005, 0.000}, { 0.27, 0.000, 0.000, 0.000},
}};
// clang-format on
constexpr int kAround = 16;

void addHull(MeshData& mesh) {
    const double zMin = kHull.front().z;
    const double zMax = kHull.back().z;
    const auto first = std::uint32_t(mesh.vertexCount());
    for (std::size_t k = 0; k < kHull.size(); ++k) {
        const Section& s = kHull[k];
        const Section& before = kHull[k > 0 ? k - 1 : k];
        const Section& after = kHull[k + 1 < kHull.size() ? k + 1 : k];
        // How fast the hull narrows here tilts the normals forward or back.
        const double taper =
            -((after.halfWidth + after.halfHeight) - (before.halfWidth + before.halfHeight)) * 0.5 /
            std::max(after.z - before.z, 1e-6);
        for (int a = 0; a <= kAround; ++a) {
            const double angle = kTwoPi * a / kAround;
            const double c = std::cos(angle);
            const double sn = std::sin(angle);
            const glm::dvec3 position(s.halfWidth * c, s.lift + s.halfHeight * sn, s.z);
            const glm::dvec3 normal = glm::normalize(glm::dvec3(c, sn, taper));
            mesh.addVertex(position, normal,
                           kHullRegion.at(double(a) / kAround, (s.z - zMin) / (zMax - zMin)));
        }
    }
    const int row = kAround + 1;
    for (std::size_t k = 0; k + 1 < kHull.size(); ++k) {
        for (int a = 0; a < kAround; ++a) {
            const auto i = first + std::uint32_t(k * row + a);
            const glm::dvec3 outward = mesh.normals()[i] + mesh.normals()[i + row + 1];
            if (k + 2 == kHull.size()) {
                mesh.addFacingTriangle(i, i + 1, i + row, outward);  // the nose tip
            } else {
                mesh.addFacingQuad(i, i + 1, i + row + 1, i + row, outward);
            }
        }
    }
    // The jet nozzle closes the tail.
    const Section& tail = kHull.front();
    const glm::dvec3 back(0.0, 0.0, -1.0);
    const auto centre = mesh.addVertex({0.0, tail.lift, tail.z - 0.004}, back, kNozzleRegion.at(0.5, 0.5));
    const auto rim = std::uint32_t(mesh.vertexCount());
    for (int a = 0; a < kAround; ++a) {
        const double angle = kTwoPi * a / kAround;
        const double c = std::cos(angle);
        const double sn = std::sin(angle);
        mesh.addVertex({tail.halfWidth * c, tail.lift + tail.halfHeight * sn, tail.z}, back,
                       kNozzleRegion.at(0.5 + 0.48 * c, 0.5 + 0.48 * sn));
    }
    for (int a = 0; a < kAround; ++a) {
        mesh.addFacingTriangle(centre, rim + a, rim + (a + 1) % kAround, back);
    }
}

void addCanopy(MeshData& mesh) {
    const glm::dvec3 centre(0.0, 0.036, 0.10);
    const glm::dvec3 radii(0.026, 0.026, 0.075);
    constexpr int kRings = 8;
    const auto first = std::uint32_t(mesh.vertexCount());
    for (int r = 0; r <= kRings; ++r) {
        const double polar = 0.5 * kTwoPi * r / kRings;  // 0 at the front tip, pi at the back
        for (int a = 0; a <= kAround; ++a) {
            const double angle = kTwoPi * a / kAround;
            const glm::dvec3 unit(std::sin(polar) * std::cos(angle), std::sin(polar) * std::sin(angle),
                                  std::cos(polar));
            mesh.addVertex(centre + unit * radii, glm::normalize(unit / radii),
                           kGlassRegion.at(double(a) / kAround, double(r) / kRings));
        }
    }
    const int row = kAround + 1;
    for (int r = 0; r < kRings; ++r) {
        for (int a = 0; a < kAround; ++a) {
            const auto i = first + std::uint32_t(r * row + a);
            const glm::dvec3 outward = mesh.positions()[i + row + 1] + mesh.positions()[i] - 2.0 * centre;
            mesh.addFacingQuad(i, i + 1, i + row + 1, i + row, outward);
        }
    }
}

// A tapered surface with a diamond section: leading edge, upper crest, trailing edge, lower crest.
// Flat-shaded, so each face has its own vertices.
struct Surface {
    glm::dvec3 rootLeading;
    glm::dvec3 rootTrailing;
    glm::dvec3 tipLeading;
    glm::dvec3 tipTrailing;
    glm::dvec3 thicknessAxis;
    double rootThickness;
    double tipThickness;
};

void addSurface(MeshData& mesh, const Surface& s, const Region& region) {
    const auto section = [&s](bool tip) {
        const glm::dvec3 leading = tip ? s.tipLeading : s.rootLeading;
        const glm::dvec3 trailing = tip ? s.tipTrailing : s.rootTrailing;
        const double half = 0.5 * (tip ? s.tipThickness : s.rootThickness);
        const glm::dvec3 crest = glm::mix(leading, trailing, 0.35);
        return std::array<glm::dvec3, 4>{leading, crest + s.thicknessAxis * half, trailing,
                                         crest - s.thicknessAxis * half};
    };
    const auto root = section(false);
    const auto tip = section(true);
    const glm::dvec3 middle = (root[0] + root[2] + tip[0] + tip[2]) * 0.25;
    // Chordwise position of each section point, for the texture (0 trailing, 1 leading edge).
    constexpr std::array<double, 4> kChord = {1.0, 0.65, 0.0, 0.65};
    for (int f = 0; f < 4; ++f) {
        const int g = (f + 1) % 4;
        const glm::dvec3 normal = glm::normalize(glm::cross(tip[f] - root[f], root[g] - root[f]));
        const glm::dvec3 centre = (root[f] + root[g] + tip[f] + tip[g]) * 0.25;
        const glm::dvec3 outward = glm::dot(normal, centre - middle) >= 0.0 ? normal : -normal;
        const auto a = mesh.addVertex(root[f], outward, region.at(0.0, kChord[f]));
        const auto b = mesh.addVertex(root[g], outward, region.at(0.0, kChord[g]));
        const auto c = mesh.addVertex(tip[g], outward, region.at(1.0, kChord[g]));
        const auto d = mesh.addVertex(tip[f], outward, region.at(1.0, kChord[f]));
        mesh.addFacingQuad(a, b, c, d, outward);
    }
    // Cap the tip.
    const glm::dvec3 out = glm::normalize(tip[0] + tip[2] - root[0] - root[2]);
    std::array<std::uint32_t, 4> cap{};
    for (int f = 0; f < 4; ++f) {
        cap[f] = mesh.addVertex(tip[f], out, region.at(1.0, kChord[f]));
    }
    mesh.addFacingQuad(cap[0], cap[1], cap[2], cap[3], out);
}

void addWingsAndTail(MeshData& mesh) {
    const glm::dvec3 up(0.0, 1.0, 0.0);
    const double tipX = CraftModel::kWingspan * 0.5;
    for (const double side : {1.0, -1.0}) {
        addSurface(mesh,
                   {{side * 0.040, -0.012, 0.07},
                    {side * 0.040, -0.012, -0.14},
                    {side * tipX, 0.014, -0.085},
                    {side * tipX, 0.014, -0.155},
                    up,
                    0.022,
                    0.008},
                   kWingRegion);
        addSurface(mesh,
                   {{side * 0.030, 0.010, -0.17},
                    {side * 0.030, 0.010, -0.255},
                    {side * 0.125, 0.016, -0.225},
                    {side * 0.125, 0.016, -0.27},
                    up,
                    0.012,
                    0.005},
                   kWingRegion);
    }
    addSurface(mesh,
               {{0.0, 0.030, -0.12},
                {0.0, 0.030, -0.25},
                {0.0, 0.135, -0.225},
                {0.0, 0.135, -0.275},
                {1.0, 0.0, 0.0},
                0.014,
                0.005},
               kFinRegion);
}

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

const glm::dvec3 kWhite(0.93, 0.94, 0.96);
const glm::dvec3 kRed(0.86, 0.13, 0.10);
const glm::dvec3 kBlue(0.10, 0.20, 0.50);
const glm::dvec3 kGrey(0.62, 0.64, 0.68);
const glm::dvec3 kDark(0.12, 0.12, 0.14);

glm::dvec3 hullColour(double around, double along) {
    // around: 0.25 is the top, 0.75 the belly; along: 0 tail, 1 nose.
    const double fromTop = std::fabs(around - 0.25);
    glm::dvec3 colour = glm::mix(kWhite, kGrey, smoothstep(0.30, 0.38, fromTop));
    colour = glm::mix(colour, kBlue, 1.0 - smoothstep(0.085, 0.095, std::fabs(fromTop - 0.075)));
    colour = glm::mix(colour, kRed, 1.0 - smoothstep(0.055, 0.065, fromTop));
    colour = glm::mix(colour, kDark, smoothstep(0.90, 0.93, along));              // nose cone
    colour = glm::mix(colour, kDark * 2.0, 1.0 - smoothstep(0.05, 0.09, along));  // engine section
    return colour;
}

glm::dvec3 wingColour(double span, double chord) {
    // span: 0 root, 1 tip; chord: 0 trailing, 1 leading edge.
    glm::dvec3 colour = kWhite;
    colour = glm::mix(colour, kRed, smoothstep(0.78, 0.80, span));
    colour = glm::mix(colour, kBlue, smoothstep(0.70, 0.72, span) * (1.0 - smoothstep(0.76, 0.78, span)));
    colour = glm::mix(colour, kRed, smoothstep(0.86, 0.90, chord) * (1.0 - smoothstep(0.78, 0.80, span)));
    colour = glm::mix(colour, kGrey, 1.0 - smoothstep(0.06, 0.10, chord));  // flaps
    return colour;
}

glm::dvec3 finColour(double span, double chord) {
    glm::dvec3 colour = kRed;
    colour = glm::mix(colour, kWhite, smoothstep(0.40, 0.43, span) * (1.0 - smoothstep(0.58, 0.61, span)));
    colour = glm::mix(colour, kBlue, smoothstep(0.85, 0.88, span));
    return glm::mix(colour, kGrey, 1.0 - smoothstep(0.08, 0.12, chord));
}

glm::dvec3 glassColour(double s, double t) {
    // A dark tinted canopy with a soft reflection streak along it.
    const double streak = std::exp(-std::pow((s - 0.30) * 9.0, 2.0)) * smoothstep(0.1, 0.5, t);
    return glm::mix(glm::dvec3(0.05, 0.10, 0.20), glm::dvec3(0.55, 0.70, 0.85), 0.7 * streak);
}

glm::dvec3 nozzleColour(double s, double t) {
    const double r = std::hypot(s - 0.5, t - 0.5) * 2.0;
    return glm::mix(glm::dvec3(1.0, 0.75, 0.30), kDark, smoothstep(0.25, 0.75, r));
}

}  // namespace

MeshData CraftModel::build() {
    MeshData shape;
    addHull(shape);
    addCanopy(shape);
    addWingsAndTail(shape);
    // The chase eye looks down at the craft's origin from one unit behind; drawn forward of it, the
    // tail and fin stay beyond the camera's near plane.
    glm::dmat4 forward(1.0);
    forward[3] = glm::dvec4(0.0, 0.0, kForwardOffset, 1.0);
    MeshData mesh;
    mesh.append(shape, forward);
    return mesh;
}

Image CraftModel::paintLivery(int size) {
    Image image(size, size, 3);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            const double u = (px + 0.5) / size;
            const double v = 1.0 - (py + 0.5) / size;
            glm::dvec3 colour;
            if (v >= 0.5) {
                colour = u < 0.5 ? hullColour(u * 2.0, (v - 0.5) * 2.0)
                                 : wingColour((u - 0.5) * 2.0, (v - 0.5) * 2.0);
            } else if (u >= 0.5) {
                colour = finColour((u - 0.5) * 2.0, v * 2.0);
            } else if (u < 0.25 && v < 0.25) {
                colour = glassColour(u * 4.0, v * 4.0);
            } else if (v < 0.25) {
                colour = nozzleColour((u - 0.25) * 4.0, v * 4.0);
            } else {
                colour = kGrey;
            }
            image.set(px, py, glm::clamp(colour, 0.0, 1.0));
        }
    }
    return image;
}

}  // namespace common::assetgen
