#include "hostapp/viewer/imagefile_win.h"

#include <wincodec.h>
#include <windows.h>

#include <new>
#include <utility>
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
    const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (n <= 0) return false;
    wide.assign(size_t(n), L'\0');
    return MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n) == n;
}

// The key of a full path: in capitals, as the file system compares names,
// and as UTF-8 so that no byte of it depends on the code page.
bool PathKey(const std::string& fullPath, std::string& key) {
    std::vector<wchar_t> wide;
    if (!WidePath(fullPath, wide)) return false;
    CharUpperBuffW(wide.data(), DWORD(wide.size() - 1));
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return false;
    key.assign(size_t(n), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, &key[0], n, nullptr, nullptr) != n)
        return false;
    key.pop_back();
    return true;
}

// The decoding itself, with COM already set up on this thread: every
// interface is released before the caller tears COM down.
DecodeResult Decode(const std::string& path, uint64_t maxPixels, Image& image) {
    const DecodeResult kFailed = DecodeResult::kFailed;
    std::vector<wchar_t> wide;
    if (!WidePath(path, wide)) return kFailed;
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
        return kFailed;
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        uint64_t(width) * height > kMaxPixels)
        return kFailed;
    // Only the header was read so far: a picture past the budget costs nothing.
    if (uint64_t(width) * height > maxPixels) return DecodeResult::kOverBudget;
    Image decoded;
    try {
        decoded = Image(int(width), int(height));
    } catch (const std::bad_alloc&) {
        return kFailed;
    }
    UINT stride = width * 3;
    if (FAILED(
            converter->CopyPixels(nullptr, stride, UINT(decoded.rgb.size()), decoded.rgb.data())))
        return kFailed;
    for (size_t i = 0; i < decoded.rgb.size(); i += 3)
        std::swap(decoded.rgb[i], decoded.rgb[i + 2]);
    image = std::move(decoded);
    return DecodeResult::kPicture;
}

}  // namespace

bool LocateImageFile(const std::string& mapPath, std::string& fullPath, std::string& key) {
    if (!IsPlainLocalPath(mapPath.c_str())) return false;
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(mapPath.c_str(), sizeof full, full, nullptr);
    // The full form is checked again: a relative COM1.png becomes \\.\COM1.
    if (n == 0 || n >= sizeof full || !IsPlainLocalPath(full)) return false;
    fullPath.assign(full, n);
    return PathKey(fullPath, key);
}

// COM is set up for the call and torn down again unless the thread already
// had it (in whichever model). A scene's map names are data: the rule is
// applied here too, on the very path that is opened.
DecodeResult DecodeImageFile(const std::string& path, uint64_t maxPixels, Image& image) {
    if (!IsPlainLocalPath(path.c_str())) return DecodeResult::kFailed;
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const DecodeResult result = Decode(path, maxPixels, image);
    if (SUCCEEDED(init)) CoUninitialize();
    return result;
}

ImageFiles WindowsImageFiles() { return {LocateImageFile, DecodeImageFile}; }
