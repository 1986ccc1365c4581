#include "hostapp/viewer/imagefile_win.h"

#include <wincodec.h>
#include <windows.h>

#include <new>
#include <vector>

#include "importer/local_path.h"

namespace {

// Pictures beyond this many pixels are refused rather than risked in a
// 32-bit address space.
const unsigned long long kMaxPixels = 1ull << 26;

// Releases the interface it holds when it goes.
template <typename T>
struct ComRef {
    T* p = nullptr;
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
};

bool WidePath(const std::string& path, std::vector<wchar_t>& wide) {
    int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (n <= 0) return false;
    wide.assign(size_t(n), L'\0');
    return MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n) == n;
}

// The decoding itself, with COM already set up on this thread: every
// interface is released before the caller tears COM down.
bool Decode(const std::string& path, Image& image) {
    std::vector<wchar_t> wide;
    if (!WidePath(path, wide)) return false;
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory.p))) ||
        FAILED(factory->CreateDecoderFromFilename(wide.data(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder.p)) ||
        FAILED(decoder->GetFrame(0, &frame.p)) ||
        FAILED(factory->CreateFormatConverter(&converter.p)) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return false;
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        (unsigned long long)width * height > kMaxPixels)
        return false;
    Image decoded;
    try {
        decoded = Image(int(width), int(height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    UINT stride = width * 3;
    if (FAILED(
            converter->CopyPixels(nullptr, stride, UINT(decoded.rgb.size()), decoded.rgb.data())))
        return false;
    for (size_t i = 0; i < decoded.rgb.size(); i += 3)
        std::swap(decoded.rgb[i], decoded.rgb[i + 2]);
    image = std::move(decoded);
    return true;
}

}  // namespace

// COM is set up for the call and torn down again unless the thread already
// had it (in whichever model). A scene's map names are data: a share, device
// or stream is never opened, whatever the scene says.
bool LoadImageFile(const std::string& path, Image& image) {
    if (!IsPlainLocalPath(path.c_str())) return false;
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = Decode(path, image);
    if (SUCCEEDED(init)) CoUninitialize();
    return ok;
}
