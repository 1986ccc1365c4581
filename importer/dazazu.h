// The importer object: the host's scene importer for PLY files. One object
// serves one import and holds all of its state.
#pragma once

#include <atomic>

#include "hostsdk/max.h"
#include "importer/fixedlist.h"
#include "importer/importoptions.h"
#include "ply/ply_reader.h"

struct ImportedMesh;

// Base name of a path: see basename.cpp.
void DeriveBaseName(const char* path, char* baseName, size_t size);
// Copies at most size - 1 bytes and terminates; longer texts are cut.
void CopyBounded(char* to, size_t size, const char* from);

// The ElementFlags of the file's face element, from its header (0 without one).
uint32_t FaceElementFlags(const PlyReader& reader);

class DazAzu : public SceneImport {
  public:
    DazAzu();
    ~DazAzu() override;

    int ExtCount() override;
    const char* Ext(int n) override;
    const char* LongDesc() override;
    const char* ShortDesc() override;
    const char* AuthorName() override;
    const char* CopyrightMessage() override;
    const char* OtherMessage1() override;
    const char* OtherMessage2() override;
    unsigned int Version() override;
    void ShowAbout(HWND hWnd) override;
    int DoImport(const char* name, ImpInterface* ii, Interface* i,
                 BOOL suppressPrompts = FALSE) override;
    int ZoomExtents() override;

    // Import sequence (doimport.cpp).
    bool LoadSettings();
    void SaveSettings();
    CStr SettingsPath();

    // What the import tells the user (import_report.cpp).
    int ReportError(const char* text, unsigned style);
    void ReportCount(const char* format, unsigned count);
    void NoteMissingTexture(const char* name);
    void ReportMissingTextures();
    void NoteLeftOutProperty(const char* name);
    void ReportLeftOutProperties();

    // Mesh build on the worker thread (meshbuild.cpp and the files of its
    // stages, build_state.h).
    void RunMeshBuild(HWND window);
    int BuildMesh();
    bool NormalChannelActive() const;
    bool HasTextureCoords() const;
    bool HasColours() const;
    bool TextureChannelActive() const;
    bool ColourChannelActive() const;
    bool AlphaChannelActive() const;
    bool TexturesMakeMaterials() const;
    // The vertex element's intensity (or scalar_intensity) as its place
    // among the element's extra values; -1 when it has none.
    int IntensityExtra() const;
    // Grey vertex colours come from the intensity: the file has no colours.
    bool IntensityGivesColours() const;

    // Materials and the node (materials.cpp, node.cpp).
    bool CreateStandardMaterials();
    void AddTextureMaps();
    Mtl* AssembleMaterial();
    int CreateSceneNode();

    static const int kBaseNameSize = 64;
    static const int kFilePathSize = 260;
    // A face names its material with a 16-bit id: no more records are kept.
    static const unsigned kMaxMaterialRecords = 0xFFFF + 1;
    // The list of missing textures in their message is cut after this many
    // characters (see NoteMissingTexture).
    static const size_t kMissingTextureListChars = 200;

    Interface* hostInterface;
    ImpInterface* importInterface;
    char baseName[kBaseNameSize];
    unsigned int progressTotal;
    // Raised on the interface thread, read by the worker at its progress points.
    std::atomic<int> cancelFlag;
    HWND progressWindow;
    int showPrompts;
    PlyReader reader;
    unsigned int vertexFlags;
    // The face element's flags: per-corner texture coordinates, face colours.
    unsigned int faceFlags;
    unsigned int vertexCount;
    unsigned int triangleCount;
    unsigned int materialCount;
    ImportOptions options;
    CStr errorText;
    char filePath[kFilePathSize];
    FixedList<PlyMaterial> materialRecords;
    FixedList<Mtl*> hostMaterials;  // not owned: the scene's, or deleted by DoImport
    // Material records past kMaxMaterialRecords: read over, not kept.
    unsigned int skippedMaterials;
    ImportedMesh* importedMesh;
    // Faces left out because they name a vertex the file does not have.
    unsigned int skippedFaces;
    // Vertices with a coordinate out of range, moved to the mesh's centre.
    unsigned int nonFiniteVertices;
    // Faces whose texcoord list does not fit their corners: given (0, 0).
    unsigned int skippedTexCoords;
    // Texture images left out or not found beside the file, and their names
    // as the file gives them, cut (then ending in "...").
    unsigned int missingTextures;
    char missingTextureNames[kMissingTextureListChars + 4];
    // Properties whose values the mesh does not keep (lists, and scalars
    // past its channels), and their names, cut the same way.
    unsigned int leftOutProperties;
    char leftOutPropertyNames[kMissingTextureListChars + 4];

    DazAzu(const DazAzu&) = delete;
    DazAzu& operator=(const DazAzu&) = delete;
};
