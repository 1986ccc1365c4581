// A fixture that runs the import core against the stand-in host and the
// seam doubles, over PLY files the tests write themselves.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostsdk/standin.h"
#include "importer/dazazu.h"
#include "importer/importedmesh.h"
#include "importer/progress.h"
#include "tests/support/import_doubles.h"

// ASCII PLY text: a header of the given element blocks and the data lines.
std::string AsciiPly(const std::string& elements, const std::string& data);
// A little-endian binary file of vertices with float x, y, z only.
std::string BinaryPointCloud(const std::vector<Point3>& points);

class ImportTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the bytes as DoImport's header step does and takes the counts.
    void Prepare(const std::string& ply);
    // What an earlier build made goes back to the host.
    void DeleteBuilt();
    // Prepare, then BuildMesh; answers its result.
    int Build(const std::string& ply);
    Mesh& BuiltMesh() { return importer->importedMesh->triObject->mesh; }
    // Step texts, count and fraction messages the build sent, as text.
    std::vector<std::string> SentTrace() const;

    HostScene scene;
    HostCore core{scene};
    DazAzu* importer = nullptr;
    std::string bytes;
};
