// The picture decoder, on PNG and JPEG files that the imaging component's
// own encoders write here.
#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "hostapp/viewer/imagefile_win.h"

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
        ASSERT_TRUE(LoadImageFile(path, image));
        ASSERT_EQ(image.width, kSide);
        ASSERT_EQ(image.height, kSide);
        for (int y : {kSide / 4, kSide * 3 / 4})
            for (int x : {kSide / 4, kSide * 3 / 4})
                for (int i = 0; i < 3; ++i)
                    EXPECT_NEAR(image.Pixel(x, y)[i], QuadrantColour(x, y)[i], kind.tolerance)
                        << x << "," << y;
    }
}

TEST_F(ImageFileTest, FileThatIsNoPictureLeavesTheImageAlone) {
    std::ofstream(base + ".txt") << "not a picture\n";
    Image image(1, 1);
    EXPECT_FALSE(LoadImageFile(base + ".txt", image));
    EXPECT_FALSE(LoadImageFile(base + "_missing.png", image));
    EXPECT_EQ(image.width, 1);
    EXPECT_EQ(image.rgb.size(), 3u);
}

// The same picture reached through a device, namespace or stream path is
// refused before anything is opened; the plain path decodes.
TEST_F(ImageFileTest, OnlyPlainLocalPathsAreOpened) {
    std::string path = base + ".png";
    ASSERT_TRUE(WriteQuadrants(path, GUID_ContainerFormatPng));
    Image image;
    ASSERT_TRUE(LoadImageFile(path, image));
    std::string forward = path;
    for (char& c : forward)
        if (c == '\\') c = '/';
    for (const std::string& hostile :
         {"\\\\?\\" + path, "\\\\.\\" + path, "//./" + forward, "\\??\\" + path, path + ":$DATA"}) {
        Image refused(1, 1);
        EXPECT_FALSE(LoadImageFile(hostile, refused)) << hostile;
        EXPECT_EQ(refused.width, 1);
    }
}

}  // namespace
