// A small importer plug-in for the reference host's tests. Its "PLY" files
// are scripts, one command a line:
//   mesh           a cube node, half size 1 times the scale, with vertex colours
//   plain          the same cube without colours, with a red material
//   message TEXT   shows TEXT in a message box ("\n" in TEXT breaks the line)
//   path           shows the path the host passed
//   dirs           shows the host's directories 9 and 4
//   result N       DoImport answers N
//   pump MS        takes MS milliseconds, handling messages meanwhile
//   crash          dies of an access violation
// TESTPLUGIN_BREAK builds a variant that breaks one step of loading.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "hostsdk/max.h"
#include "tests/hostapp/fakedialogs_win.h"

#define BREAK_NONE 0
#define BREAK_VERSION 1
#define BREAK_INIT 2
#define BREAK_NO_CLASS 3
#define BREAK_SUPER_CLASS 4
#define BREAK_EXPORT 5
#ifndef TESTPLUGIN_BREAK
#define TESTPLUGIN_BREAK BREAK_NONE
#endif

namespace {

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find('.'));
}

void AddCube(ImpInterface* ii, const FakeOptions& o, bool coloured) {
    TriObject* obj = CreateNewTriObject();
    Mesh& m = obj->GetMesh();
    float s = float(o.scale);
    m.setNumVerts(8);
    for (int i = 0; i < 8; ++i)
        m.setVert(i, Point3(i & 1 ? s : -s, i & 2 ? s : -s, i & 4 ? s : -s));
    static const int kQuads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                     {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    m.setNumFaces(12);
    for (int q = 0; q < 6; ++q) {
        const int* v = kQuads[q];
        m.faces[2 * q].setVerts(v[0], v[1], v[2]);
        m.faces[2 * q + 1].setVerts(v[0], v[2], v[3]);
        for (int k = 0; k < 2; ++k) {
            m.faces[2 * q + k].setSmGroup(1);
            m.faces[2 * q + k].setEdgeVisFlags(k == 0, 1, k == 1);
        }
    }
    if (coloured && o.vertexColors) {
        m.setNumVertCol(8);
        m.setNumVCFaces(12);
        for (int i = 0; i < 8; ++i)
            m.vertCol[i] = Point3(i & 1 ? 1.f : 0.f, i & 2 ? 1.f : 0.f, i & 4 ? 1.f : 0.f);
        for (int f = 0; f < 12; ++f)
            m.vcFace[f].setTVerts(m.faces[f].v[0], m.faces[f].v[1], m.faces[f].v[2]);
    }
    m.buildBoundingBox();
    ImpNode* node = ii->CreateNode();
    node->Reference(obj);
    Matrix3 tm;
    node->SetTransform(0, tm);
    node->SetName(o.name.c_str());
    ii->AddNodeToScene(node);
    if (!coloured) {
        StdMat2* mtl = NewDefaultStdMat();
        mtl->SetName("red");
        mtl->SetDiffuse(Color(1, 0, 0), 0);
        node->GetINode()->SetMtl(mtl);
    }
}

class TestImporter : public SceneImport {
  public:
    int ExtCount() override { return 1; }
    const char* Ext(int n) override { return n == 0 ? "ply" : ""; }
    const char* LongDesc() override { return "Test importer"; }
    const char* ShortDesc() override { return "Test PLY"; }
    const char* AuthorName() override { return "tests"; }
    const char* CopyrightMessage() override { return ""; }
    const char* OtherMessage1() override { return ""; }
    const char* OtherMessage2() override { return ""; }
    unsigned int Version() override { return 100; }
    void ShowAbout(HWND owner) override { RunFakeMessageBox(owner, "about the test importer"); }
    int ZoomExtents() override { return 1; }

    int DoImport(const char* name, ImpInterface* ii, Interface* ip, BOOL suppressPrompts) override {
        std::ifstream in(name);
        if (!in) {
            Show(ip, suppressPrompts, "file not found");
            return IMPEXP_SUCCESS;
        }
        FakeOptions o;
        o.name = BaseName(name);
        o.scale = 1.0;
        if (!suppressPrompts && RunFakeOptionsDialog(ip->GetMAXHWnd(), o) == 0)
            return IMPEXP_CANCEL;
        if (o.replaceScene) {
            ip->FileReset(TRUE);
            ii->NewScene();
        }
        int result = IMPEXP_SUCCESS;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::string word = line.substr(0, line.find(' '));
            std::string rest = line.size() > word.size() ? line.substr(word.size() + 1) : "";
            if (word == "mesh" || word == "plain") AddCube(ii, o, word == "mesh");
            if (word == "message") Show(ip, suppressPrompts, Unescape(rest));
            if (word == "path") Show(ip, suppressPrompts, name);
            if (word == "dirs")
                Show(ip, suppressPrompts,
                     std::string("cfg=") + ip->GetDir(APP_PLUGCFG_DIR) +
                         " help=" + ip->GetDir(APP_HELP_DIR));
            if (word == "result") result = std::atoi(rest.c_str());
            if (word == "pump") Pump(DWORD(std::atoi(rest.c_str())));
            if (word == "crash") *static_cast<volatile int*>(nullptr) = 1;
        }
        ii->RedrawViews();
        return result;
    }

  private:
    // An import that takes its time with the messages flowing, as one behind
    // a progress dialog does.
    static void Pump(DWORD ms) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            Sleep(10);
        }
    }
    static void Show(Interface* ip, BOOL suppressPrompts, const std::string& text) {
        if (!suppressPrompts) RunFakeMessageBox(ip->GetMAXHWnd(), text.c_str());
    }
};

class TestClassDesc : public ClassDesc {
  public:
    int IsPublic() override { return 1; }
    void* Create(BOOL) override { return new TestImporter; }
    const char* ClassName() override { return "TestImporter"; }
#if TESTPLUGIN_BREAK == BREAK_SUPER_CLASS
    SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }
#else
    SClass_ID SuperClassID() override { return SCENE_IMPORT_CLASS_ID; }
#endif
    Class_ID ClassID() override { return Class_ID(0x7E57, 0x1); }
    const char* Category() override { return "Tests"; }
};

TestClassDesc classDesc;

}  // namespace

#define EXPORT extern "C" __declspec(dllexport)

EXPORT const char* LibDescription() { return "reference host test importer"; }

EXPORT int LibNumberClasses() { return TESTPLUGIN_BREAK == BREAK_NO_CLASS ? 0 : 1; }

#if TESTPLUGIN_BREAK != BREAK_EXPORT
EXPORT ClassDesc* LibClassDesc(int i) { return i == 0 ? &classDesc : nullptr; }
#endif

EXPORT ULONG LibVersion() {
    return TESTPLUGIN_BREAK == BREAK_VERSION ? VERSION_3DSMAX - 0x100 : VERSION_3DSMAX;
}

EXPORT ULONG CanAutoDefer() { return 1; }

EXPORT int LibInitialize() {
#if TESTPLUGIN_BREAK == BREAK_INIT
    MessageBoxA(nullptr, "test plug-in cannot start", "test plug-in", MB_OK | MB_ICONEXCLAMATION);
    return 0;
#else
    return 1;
#endif
}
