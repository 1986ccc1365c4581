// Import, export, import again: the second scene is the first, in every
// encoding, but for the rounding of positions through the scale.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "exporter/dazazuexport.h"
#include "hostsdk/standin.h"
#include "importer/dazazu.h"
#include "tests/support/export_doubles.h"
#include "tests/support/import_doubles.h"

namespace {

namespace fs = std::filesystem;

int Import(HostScene& scene, HostCore& core, const std::string& path) {
    DazAzu* importer = new DazAzu;
    const int result = importer->DoImport(path.c_str(), &scene, &core, TRUE);
    delete importer;
    return result;
}

int Export(HostScene& scene, HostCore& core, const std::string& path, ExportFormat format) {
    ExportDoublesNow().optionsDialog = [format](DazAzuExport& e) {
        e.options.format = format;
        return 1;
    };
    DazAzuExport* exporter = new DazAzuExport;
    const int result = exporter->DoExport(path.c_str(), &scene, &core, FALSE);
    delete exporter;
    return result;
}

bool IsNumber(const std::string& token, double* value) {
    char* end = nullptr;
    *value = std::strtod(token.c_str(), &end);
    return !token.empty() && end == token.c_str() + token.size();
}

// The largest number on a line: positions are as close as a float at the
// line's largest coordinate can hold them.
double LineScale(const std::string& line) {
    std::istringstream tokens(line);
    double scale = 1.0, v;
    for (std::string t; tokens >> t;)
        if (IsNumber(t, &v) && std::isfinite(v)) scale = std::fmax(scale, std::fabs(v));
    return scale;
}

// The reach of the scene: what its boxes span.
double SceneScale(const std::string& dump) {
    std::istringstream lines(dump);
    double scale = 1.0;
    for (std::string line; std::getline(lines, line);)
        if (line.compare(0, 5, "bbox ") == 0) scale = std::fmax(scale, LineScale(line));
    return scale;
}

bool SameLine(const std::string& x, const std::string& y, double sceneScale) {
    const double tolerance = 2e-6 * std::fmax(sceneScale, std::fmax(LineScale(x), LineScale(y)));
    std::istringstream ta(x), tb(y);
    std::string p, q;
    while (ta >> p) {
        double u, v;
        if (!(tb >> q)) return false;
        const bool numbers = IsNumber(p, &u) && IsNumber(q, &v);
        if (numbers ? !(std::fabs(u - v) <= tolerance || (std::isnan(u) && std::isnan(v))) : p != q)
            return false;
    }
    return !(tb >> q);
}

// The first lines where the dumps differ beyond a float's last bits.
std::string Differences(const std::string& a, const std::string& b) {
    std::istringstream la(a), lb(b);
    std::string x, y, found;
    int shown = 0;
    const double scale = SceneScale(a);
    for (int line = 1; std::getline(la, x) && std::getline(lb, y) && shown < 3; ++line)
        if (!SameLine(x, y, scale)) {
            found += "line " + std::to_string(line) + ":\n  " + x.substr(0, 300) + "\n  " + y.substr(0, 300) + "\n";
            ++shown;
        }
    if (shown == 0 && (std::getline(la, x) || std::getline(lb, y))) found += "the dumps differ in length\n";
    return found;
}

void AddPoint(std::ostringstream& out, const char* tag, const Point3& p) {
    out << ' ' << tag << ' ' << p.x << ' ' << p.y << ' ' << p.z;
}

// Colours as the bytes a file keeps.
void AddColour(std::ostringstream& out, const char* tag, const Point3& c) {
    out << ' ' << tag;
    for (int k = 0; k < 3; ++k) out << ' ' << std::lround(c[k] * 255.0f);
}

// The scene as its faces' corners see it: what a split vertex keeps, in
// an order the split does not change. Lines other than the mesh's own
// (node, transform, materials, channel names) are kept as they are.
std::string CornerDump(const HostScene& scene) {
    std::ostringstream out;
    out.precision(9);
    std::istringstream dump(DumpScene(scene));
    int node = -1;
    for (std::string line; std::getline(dump, line);) {
        const std::string tag = line.substr(0, line.find(' '));
        if (tag == "node") ++node;
        if (tag == "mesh" && node >= 0) {
            Mesh& m = static_cast<TriObject*>(scene.GetNode(node)->GetObjectRef())->GetMesh();
            for (int f = 0; f < m.numFaces; ++f) {
                const Face& face = m.faces[f];
                out << "f " << face.getMatID() << ' ' << face.smGroup << ' ' << face.getEdgeVis(0)
                    << face.getEdgeVis(1) << face.getEdgeVis(2);
                for (int k = 0; k < 3; ++k) {
                    const DWORD v = face.v[k];
                    AddPoint(out, "p", m.verts[v]);
                    if (m.hasExplicitNormals()) AddPoint(out, "n", m.getExplicitNormal(int(v)));
                    for (int mp = MAP_ALPHA; mp < m.getNumMaps(); ++mp) {
                        if (mp == -1 || !m.mapSupport(mp) || m.getNumMapFaces(mp) != m.numFaces) continue;
                        const Point3& value = m.mapVerts(mp)[m.mapFaces(mp)[f].t[k]];
                        const std::string name = "m" + std::to_string(mp);
                        if (mp == 0 || mp == MAP_ALPHA)
                            AddColour(out, name.c_str(), value);
                        else
                            AddPoint(out, name.c_str(), value);
                    }
                }
                out << '\n';
            }
        }
        static const char* const kMeshTags[] = {"v", "f", "vt", "ft", "vc", "fc", "alpha", "va", "fa",
                                                "map", "mv", "mf", "vn", "mesh"};
        bool own = false;
        for (const char* t : kMeshTags) own = own || tag == t;
        // Materials are named by the import, after the file's records or its textures.
        const size_t name = line.find(" \"");
        if (line.find("material std") != std::string::npos && name != std::string::npos)
            line.erase(name, line.find('"', name + 2) - name + 1);
        if (!own) out << line << '\n';
    }
    return out.str();
}

struct RoundTrip {
    std::string first, second, header;
    int nodes;
    std::string firstCorners, secondCorners;
    int exported;
};

const char* const kFormatNames[] = {"ascii", "binary_little_endian", "binary_big_endian"};

// Copies of read-only files are made writable first: Windows removes no
// read-only file.
void RemoveDirectory(const fs::path& dir) {
    std::error_code error;
    for (const fs::directory_entry& e : fs::directory_iterator(dir, error))
        fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, error);
    fs::remove_all(dir, error);
}

RoundTrip RunRoundTrip(const fs::path& source, ExportFormat format) {
    const fs::path dir = fs::temp_directory_path() / ("ks_roundtrip_" + std::to_string(int(format)));
    RemoveDirectory(dir);
    fs::create_directories(dir);
    for (const fs::directory_entry& e : fs::directory_iterator(source.parent_path()))
        if (e.path().stem() == source.stem() || e.path().extension() != ".ply")
            if (e.is_regular_file()) {
                fs::copy_file(e.path(), dir / e.path().filename());
                fs::permissions(dir / e.path().filename(), fs::perms::owner_write, fs::perm_options::add);
            }
    const std::string path = (dir / source.filename()).string();
    RoundTrip r;
    HostScene scene;
    HostCore core(scene);
    core.SetDir(APP_PLUGCFG_DIR, dir.string().c_str());
    Import(scene, core, path);
    r.first = DumpScene(scene);
    r.firstCorners = CornerDump(scene);
    r.nodes = scene.NodeCount();
    r.exported = Export(scene, core, path, format);
    // Other programs' readers are tried on what was written (other_readers.py).
    if (const char* keep = std::getenv("KS_KEEP_EXPORTS"))
        if (r.exported == IMPEXP_SUCCESS)
            fs::copy_file(path, fs::path(keep) / (source.stem().string() + "." + kFormatNames[format] + ".ply"),
                          fs::copy_options::overwrite_existing);
    std::ifstream written(path, std::ios::binary);
    std::getline(written, r.header);
    std::getline(written, r.header);
    Import(scene, core, path);
    r.second = DumpScene(scene);
    r.secondCorners = CornerDump(scene);
    RemoveDirectory(dir);
    return r;
}

class RoundTripTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        ResetImportDoubles();
        ResetExportDoubles();
    }
};

TEST_P(RoundTripTest, TheSecondImportIsTheFirst) {
    const fs::path source = fs::path(KS_EXAMPLES_DIR) / GetParam();
    for (ExportFormat format : {kExportAscii, kExportBinaryLittleEndian, kExportBinaryBigEndian}) {
        const RoundTrip r = RunRoundTrip(source, format);
        EXPECT_EQ(r.exported, IMPEXP_SUCCESS) << kFormatNames[format];
        EXPECT_EQ(r.header, std::string("format ") + kFormatNames[format] + " 1.0");
        EXPECT_EQ(Differences(r.first, r.second), "") << kFormatNames[format];
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, RoundTripTest,
                         ::testing::Values("cube_colours_ascii.ply", "sphere_normals_uv_le.ply",
                                           "quads_materials_be.ply", "strip_vertex_alpha_le.ply",
                                           "torus_face_quality_ascii.ply",
                                           "terrain_far_origin_double_le.ply"));

// Every file of the corpus and every example, through every encoding:
// the corners keep their values even where vertices split.
TEST(RoundTripAll, EveryFileKeepsItsCorners) {
    ResetImportDoubles();
    ResetExportDoubles();
    for (const char* dir : {KS_CORPUS_DIR, KS_EXAMPLES_DIR})
        for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
            if (e.path().extension() != ".ply") continue;
            for (ExportFormat format : {kExportAscii, kExportBinaryLittleEndian, kExportBinaryBigEndian}) {
                const RoundTrip r = RunRoundTrip(e.path(), format);
                const std::string what = e.path().filename().string() + " " + kFormatNames[format];
                // A damaged file imports nothing, and nothing is exported.
                EXPECT_EQ(r.exported, r.nodes ? IMPEXP_SUCCESS : IMPEXP_FAIL) << what;
                EXPECT_EQ(Differences(r.firstCorners, r.secondCorners), "") << what;
            }
        }
}

}  // namespace
