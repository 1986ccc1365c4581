#include "tests/importer/import_fixture.h"

#include <cstdio>

std::string AsciiPly(const std::string& elements, const std::string& data) {
    return "ply\nformat ascii 1.0\n" + elements + "end_header\n" + data;
}

std::string BinaryPointCloud(const std::vector<Point3>& points) {
    std::string ply = "ply\nformat binary_little_endian 1.0\nelement vertex " +
                      std::to_string(points.size()) +
                      "\nproperty float x\nproperty float y\nproperty float z\nend_header\n";
    for (const Point3& p : points) {
        const float xyz[3] = {p.x, p.y, p.z};
        ply.append(reinterpret_cast<const char*>(xyz), sizeof xyz);
    }
    return ply;
}

void ImportTest::SetUp() {
    ResetImportDoubles();
    HostSetAllocationLimit(0);
    SetCOREInterface(&core);
    importer = new DazAzu();
    importer->hostInterface = &core;
    importer->importInterface = &scene;
    std::snprintf(importer->baseName, sizeof importer->baseName, "%s", "mesh");
}

void ImportTest::DeleteBuilt() {
    if (importer->importedMesh) DeleteImportedMesh(importer->importedMesh);
    for (Mtl* m : importer->hostMaterials) m->DeleteMe();
    importer->hostMaterials.clear();
    importer->importedMesh = nullptr;
}

void ImportTest::TearDown() {
    DeleteBuilt();
    delete importer;
    scene.NewScene();
    SetCOREInterface(nullptr);
    EXPECT_EQ(HostLiveObjectCount(), 0);
}

void ImportTest::Prepare(const std::string& ply) {
    bytes = ply;
    ASSERT_TRUE(importer->reader.OpenMemory(bytes.data(), bytes.size()))
        << importer->reader.ErrorText();
    importer->materialCount = importer->reader.MaterialCount();
    importer->triangleCount = importer->reader.CountTriangles();
    uint32_t flags = 0;
    importer->vertexCount = importer->reader.SeekElement(0, &flags);
    importer->vertexFlags = flags;
}

int ImportTest::Build(const std::string& ply) {
    DeleteBuilt();
    Prepare(ply);
    Doubles().running = importer;
    int result = importer->BuildMesh();
    Doubles().running = nullptr;
    return result;
}

std::vector<std::string> ImportTest::SentTrace() const {
    std::vector<std::string> trace;
    char line[64];
    for (const SentMessage& m : Doubles().sent) {
        if (m.message == kProgressStepText)
            std::snprintf(line, sizeof line, "text %u", unsigned(m.wParam));
        else if (m.message == kProgressCount)
            std::snprintf(line, sizeof line, "count %ld", long(m.lParam));
        else if (m.message == kProgressFraction)
            std::snprintf(line, sizeof line, "fraction %g", m.fraction);
        else
            std::snprintf(line, sizeof line, "message %#x", m.message);
        trace.push_back(line);
    }
    return trace;
}
