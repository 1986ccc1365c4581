// The picture decoder, on PNG and JPEG files that the imaging component's
// own encoders write here.
#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "hostapp/viewer/imagefile_win.h"
#include "tests/support/plyhost_run_win.h"

namespace {

// Quadrants of 16 pixels: whole colour blocks of a JPEG, so they keep their colours.
const int kSide = 32;
const uint8_t kQuadrants[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

const uint8_t* QuadrantColour(int x, int y) {
    return kQuadrants[(y >= kSide / 2) * 2 + (x >= kSide / 2)];
}

struct Encoding {
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* options = nullptr;
    ~Encoding() {
        for (IUnknown* p : {static_cast<IUnknown*>(options), static_cast<IUnknown*>(frame),
                            static_cast<IUnknown*>(encoder), static_cast<IUnknown*>(stream),
                            static_cast<IUnknown*>(factory)})
            if (p) p->Release();
    }
};

// Writes the picture of four coloured quadrants (red, green / blue, white).
bool WriteQuadrants(const std::string& path, const GUID& container) {
    std::vector<BYTE> bgr(kSide * kSide * 3);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            for (int i = 0; i < 3; ++i) bgr[(y * kSide + x) * 3 + i] = QuadrantColour(x, y)[2 - i];
    std::wstring wide(path.begin(), path.end());
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    Encoding e;
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(&e.factory))) &&
           SUCCEEDED(e.factory->CreateStream(&e.stream)) &&
           SUCCEEDED(e.stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(e.factory->CreateEncoder(container, nullptr, &e.encoder)) &&
           SUCCEEDED(e.encoder->Initialize(e.stream, WICBitmapEncoderNoCache)) &&
           SUCCEEDED(e.encoder->CreateNewFrame(&e.frame, &e.options)) &&
           SUCCEEDED(e.frame->Initialize(e.options)) && SUCCEEDED(e.frame->SetSize(kSide, kSide)) &&
           SUCCEEDED(e.frame->SetPixelFormat(&format)) &&
           IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
           SUCCEEDED(e.frame->WritePixels(kSide, kSide * 3, UINT(bgr.size()), bgr.data())) &&
           SUCCEEDED(e.frame->Commit()) && SUCCEEDED(e.encoder->Commit());
}

class ImageFileTest : public testing::Test {
  protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        char tmp[MAX_PATH];
        GetTempPathA(sizeof tmp, tmp);
        base = std::string(tmp) + "imagefile_test_" + std::to_string(GetCurrentProcessId());
    }
    void TearDown() override {
        for (const char* ext : {".png", ".jpg", ".txt"}) DeleteFileA((base + ext).c_str());
        CoUninitialize();
    }
    std::string base;
};

TEST_F(ImageFileTest, ReadsPngAndJpegRowsTopDownAsRgb) {
    const struct {
        const char* ext;
        GUID container;
        int tolerance;  // JPEG is lossy
    } kinds[] = {{".png", GUID_ContainerFormatPng, 0}, {".jpg", GUID_ContainerFormatJpeg, 40}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.ext);
        std::string path = base + kind.ext;
        ASSERT_TRUE(WriteQuadrants(path, kind.container));
        Image image;
        ASSERT_EQ(DecodeImageFile(path, kSide * kSide, image), DecodeResult::kPicture);
        ASSERT_EQ(image.width, kSide);
        ASSERT_EQ(image.height, kSide);
        for (int y : {kSide / 4, kSide * 3 / 4})
            for (int x : {kSide / 4, kSide * 3 / 4})
                for (int i = 0; i < 3; ++i)
                    EXPECT_NEAR(image.Pixel(x, y)[i], QuadrantColour(x, y)[i], kind.tolerance)
                        << x << "," << y;
    }
}

TEST_F(ImageFileTest, FileThatIsNoPictureOrPastTheBudgetLeavesTheImageAlone) {
    std::ofstream(base + ".txt") << "not a picture\n";
    ASSERT_TRUE(WriteQuadrants(base + ".png", GUID_ContainerFormatPng));
    Image image(1, 1);
    EXPECT_EQ(DecodeImageFile(base + ".txt", 1000, image), DecodeResult::kFailed);
    EXPECT_EQ(DecodeImageFile(base + "_missing.png", 1000, image), DecodeResult::kFailed);
    EXPECT_EQ(DecodeImageFile(base + ".png", kSide * kSide - 1, image), DecodeResult::kOverBudget);
    EXPECT_EQ(image.width, 1);
    EXPECT_EQ(image.rgb.size(), 3u);
}

// Every spelling of one file gives one key, and the path to open is whole.
TEST_F(ImageFileTest, SpellingsOfOneFileShareOneKey) {
    const std::string path = base + ".png";
    const size_t slash = path.rfind('\\');
    const std::string folder = path.substr(0, slash + 1), name = path.substr(slash + 1);
    std::string full, key;
    ASSERT_TRUE(LocateImageFile(path, full, key));
    EXPECT_EQ(full, path);
    std::string upper = path, forward = path;
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
    for (char& c : forward)
        if (c == '\\') c = '/';
    for (const std::string& spelling :
         {folder + ".\\.\\" + name, folder + "x\\..\\" + name, upper, forward, path + ". "}) {
        std::string otherFull, otherKey;
        ASSERT_TRUE(LocateImageFile(spelling, otherFull, otherKey)) << spelling;
        EXPECT_EQ(otherKey, key) << spelling;
    }
}

// Shares, namespaces and devices are refused before anything is opened, by
// the rule's own checks: none of them has a stream's or a drive's ':' past
// its start. Under wine the namespace paths name the very picture.
TEST_F(ImageFileTest, OnlyPlainLocalPathsAreOpened) {
    const std::string path = base + ".png";
    ASSERT_TRUE(WriteQuadrants(path, GUID_ContainerFormatPng));
    const std::string folder = path.substr(0, path.rfind('\\') + 1);
    std::vector<std::string> hostile = {"\\\\127.0.0.1\\share\\x.png", "//127.0.0.1/share/x.png",
                                        folder + "COM1.png", folder + "com\xB9.png",
                                        folder + "LPT2 . .jpg", folder + "nul", "CONOUT$"};
    for (const char* prefix : {"\\\\?\\unix", "\\??\\unix", "//?/unix"}) {
        const std::string inNamespace = UnixNamespacePath(prefix, path);
        if (!inNamespace.empty()) hostile.push_back(inNamespace);
    }
    for (const std::string& h : hostile) {
        EXPECT_EQ(h.find(':', 2), std::string::npos) << h;
        std::string full, key;
        EXPECT_FALSE(LocateImageFile(h, full, key)) << h;
        Image refused(1, 1);
        EXPECT_EQ(DecodeImageFile(h, kSide * kSide, refused), DecodeResult::kFailed) << h;
        EXPECT_EQ(refused.width, 1);
    }
}

}  // namespace
