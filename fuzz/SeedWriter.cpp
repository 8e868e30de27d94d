// Writes the small seed corpora the fuzzers start from: fuzz_seeds <directory>.
// <directory>/config, /heightmap and /mesh each get a handful of tiny, valid or nearly valid inputs.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

void write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>((value >> 8) & 0xff);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

// An uncompressed BMP with a 40-byte info header; `palette` entries are BGRA. Rows are padded to 4
// bytes; a negative height stores the rows top-down.
std::string bitmap(int width, int height, unsigned bitsPerPixel, const std::vector<std::uint32_t>& palette) {
    const unsigned rowBytes = (static_cast<unsigned>(width) * bitsPerPixel + 31) / 32 * 4;
    const unsigned rows = static_cast<unsigned>(height < 0 ? -height : height);
    const unsigned offset = 14 + 40 + 4 * static_cast<unsigned>(palette.size());
    std::string out = "BM";
    put32(out, offset + rowBytes * rows);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, bitsPerPixel);
    put32(out, 0);  // no compression
    put32(out, rowBytes * rows);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, static_cast<std::uint32_t>(palette.size()));
    put32(out, 0);
    for (std::uint32_t colour : palette) {
        put32(out, colour);
    }
    for (unsigned i = 0; i < rowBytes * rows; ++i) {
        out += static_cast<char>((i * 37) & 0xff);
    }
    return out;
}

std::vector<std::uint32_t> greyPalette(unsigned count) {
    std::vector<std::uint32_t> palette;
    for (unsigned i = 0; i < count; ++i) {
        const std::uint32_t level = i * 255 / (count - 1);
        palette.push_back(level | level << 8 | level << 16);
    }
    return palette;
}

// A COLLADA scene: one triangle geometry (with normals and uvs), instanced by the named nodes, an
// optional textured material and an optional light on the first node.
std::string collada(const std::vector<std::string>& nodes, bool withTexture, bool withLight) {
    std::string doc =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n"
        "<asset><up_axis>Y_UP</up_axis></asset>\n";
    if (withTexture) {
        doc +=
            "<library_images><image id=\"img\"><init_from>tex.png</init_from></image></library_images>\n"
            "<library_effects><effect id=\"fx\"><profile_COMMON>"
            "<newparam sid=\"surf\"><surface type=\"2D\"><init_from>img</init_from></surface></newparam>"
            "<newparam sid=\"samp\"><sampler2D><source>surf</source></sampler2D></newparam>"
            "<technique sid=\"common\"><phong><diffuse><texture texture=\"samp\" texcoord=\"UV\"/></diffuse>"
            "</phong></technique></profile_COMMON></effect></library_effects>\n"
            "<library_materials><material id=\"mat\"><instance_effect url=\"#fx\"/></material>"
            "</library_materials>\n";
    }
    if (withLight) {
        doc +=
            "<library_lights><light id=\"sun\" name=\"Sun\"><technique_common><directional>"
            "<color>1 1 1</color></directional></technique_common></light></library_lights>\n";
    }
    doc +=
        "<library_geometries><geometry id=\"tri\"><mesh>\n"
        "<source id=\"p\"><float_array id=\"pa\" count=\"9\">0 0 0 1 0 0 0 1 0</float_array>"
        "<technique_common><accessor source=\"#pa\" count=\"3\" stride=\"3\"><param name=\"X\" "
        "type=\"float\"/>"
        "<param name=\"Y\" type=\"float\"/><param name=\"Z\" type=\"float\"/></accessor></technique_common>"
        "</source>\n"
        "<source id=\"t\"><float_array id=\"ta\" count=\"6\">0 0 1 0 0 1</float_array>"
        "<technique_common><accessor source=\"#ta\" count=\"3\" stride=\"2\"><param name=\"S\" "
        "type=\"float\"/>"
        "<param name=\"T\" type=\"float\"/></accessor></technique_common></source>\n"
        "<vertices id=\"v\"><input semantic=\"POSITION\" source=\"#p\"/></vertices>\n"
        "<polylist count=\"1\"" +
        std::string(withTexture ? " material=\"m\"" : "") +
        "><input semantic=\"VERTEX\" source=\"#v\" offset=\"0\"/>"
        "<input semantic=\"TEXCOORD\" source=\"#t\" offset=\"1\" set=\"0\"/>"
        "<vcount>3</vcount><p>0 0 1 1 2 2</p></polylist>\n"
        "</mesh></geometry></library_geometries>\n"
        "<library_visual_scenes><visual_scene id=\"scene\">\n";
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        doc += "<node id=\"n" + std::to_string(i) + "\" name=\"" + nodes[i] + "\"><matrix>1 0 0 " +
               std::to_string(i) + " 0 1 0 2 0 0 1 -3 0 0 0 1</matrix>";
        doc += "<instance_geometry url=\"#tri\">";
        if (withTexture) {
            doc +=
                "<bind_material><technique_common><instance_material symbol=\"m\" target=\"#mat\">"
                "<bind_vertex_input semantic=\"UV\" input_semantic=\"TEXCOORD\" input_set=\"0\"/>"
                "</instance_material></technique_common></bind_material>";
        }
        doc += "</instance_geometry>";
        if (withLight && i == 0) {
            doc += "<node id=\"Sun\" name=\"Sun\"><instance_light url=\"#sun\"/></node>";
        }
        doc += "</node>\n";
    }
    doc +=
        "</visual_scene></library_visual_scenes>\n<scene><instance_visual_scene url=\"#scene\"/></scene>\n"
        "</COLLADA>\n";
    return doc;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];

    write(root / "config/full", "WIDTH\n1024\nHEIGHT\n768\nF\n");
    write(root / "config/crlf", "WIDTH\r\n640\r\nHEIGHT\r\n480\r\n");
    write(root / "config/key-as-value", "HEIGHT\nWIDTH\n300\n");
    write(root / "config/odd-values", "WIDTH\n-5\nHEIGHT\n99999999999\nwidth\n7\n");
    write(root / "config/no-value", "F\nWIDTH");

    write(root / "heightmap/grey8.bmp", bitmap(4, 4, 8, greyPalette(256)));
    write(root / "heightmap/rgb24-odd-width.bmp", bitmap(3, 2, 24, {}));
    write(root / "heightmap/bgra32.bmp", bitmap(2, 2, 32, {}));
    write(root / "heightmap/mono1.bmp", bitmap(9, 2, 1, greyPalette(2)));
    write(root / "heightmap/nibble4-top-down.bmp", bitmap(5, -3, 4, greyPalette(16)));
    write(root / "heightmap/rgb16.bmp", bitmap(3, 3, 16, {}));

    // Course files: one good, one with keys the game does not know, one with every ring problem.
    const std::string rings = R"("rings": [{"position": [38, 130, -400], "direction": [0, -0.48, 0.88]},
        {"position": [38, 110, -348], "direction": [0, -0.36, 0.93], "finish": true}])";
    write(root / "course/good.json", R"({"format": "skyrings-course", "version": 1, "name": "hop",
        "island": "coast", "start": {"position": [38, 156, -440], "direction": [0, 0, 1]}, )" + rings + "}");
    write(root / "course/extra-keys.json", R"({"format": "skyrings-course", "version": 1, "name": "a-b_c 9",
        "island": "x", "by": {"n": [1]}, "start": {"position": [1, 2, 3]}, )" + rings + "}");
    write(root / "course/bad-rings.json", R"({"format": "skyrings-course", "version": 1, "name": "",
        "start": {"position": [0, 0]}, "rings": [7, {"position": "p", "direction": [0, 0, 0], "finish": 1},
        {"position": [1e308, 0, 0], "direction": [0, 1, 0], "finish": true}, {"finish": true}]})");
    write(root / "mesh/scene.dae",
          collada({"Player", "Circle.001", "FIN", "Trans", "Terrain", "rock"}, true, true));
    write(root / "mesh/ring.dae",
          collada({"part0", "part1", "part2", "part3", "part4", "part5", "part6", "part7"}, false, false));
    write(root / "mesh/points-and-lines.obj",
          "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\nvt 0 0\nvt 1 1\no Player\nf 1/1 2/2 3/1\nl 1 4\np 2\n");
    write(root / "mesh/quad.ply",
          "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\nproperty float z\n"
          "element face 2\nproperty list uchar int vertex_indices\nend_header\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n"
          "4 0 1 2 3\n2 0 2\n");
    return 0;
}
