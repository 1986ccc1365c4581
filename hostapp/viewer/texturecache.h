// The decoded pictures of a scene's bitmap maps: one decoding per file
// however many spellings of its path the scene holds, and no more pixels in
// all than a budget, so that no scene can keep the host decoding for long.
// The decoding itself can run on another thread (DecodeJob).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "hostapp/viewer/drawing.h"
#include "hostsdk/standin.h"

// The pixels the pictures of one scene hold together: four of the largest
// picture the host decodes.
const uint64_t kScenePixelBudget = 256ull << 20;
// Said once (status line, snapshot) while a scene is past the budget.
extern const char kOverBudgetText[];

enum class DecodeResult { kPicture, kOverBudget, kFailed };

// The platform's side of the cache.
struct ImageFiles {
    // The path to open for a map's path, and a key that every spelling of
    // that file shares; false when the path may not be opened at all.
    std::function<bool(const std::string& mapPath, std::string& fullPath, std::string& key)> locate;
    // The picture at fullPath, when it has at most maxPixels pixels.
    std::function<DecodeResult(const std::string& fullPath, uint64_t maxPixels, Image& image)>
        decode;
};

// Files taken from the cache to decode, on any thread, and given back.
struct DecodeJob {
    struct File {
        std::string key, fullPath;
        bool done = false;
        DecodeResult result = DecodeResult::kFailed;
        std::shared_ptr<const Image> picture = nullptr;
    };
    std::vector<File> files;
    uint64_t pixelsLeft = 0;
};

// Decodes the job's files in order while the budget lasts; stops between
// files once cancel is set.
void RunDecodeJob(DecodeJob& job, const ImageFiles& files, const std::atomic<bool>& cancel);

class TextureCache {
  public:
    explicit TextureCache(ImageFiles files, uint64_t pixelBudget = kScenePixelBudget);

    // The scene's drawing with the pictures at hand. With decodeNow the
    // files it names are decoded first; otherwise new files wait for a
    // job and their faces draw untextured meanwhile. Pictures the scene
    // no longer names are let go.
    SceneDrawing Draw(const HostScene& scene, bool decodeNow, const std::string& colourBy = "");

    // The files the last Draw named that are neither decoded nor tried nor
    // in a job; none when there are none.
    bool HasWork() const;
    DecodeJob TakeJob();
    // Takes a job's results in; true when a picture came to show.
    bool Finish(const DecodeJob& job);

    // A picture the scene names was left out for the budget.
    bool OverBudget() const;
    const ImageFiles& Files() const { return files; }

  private:
    struct Entry {
        std::string fullPath;
        bool tried = false, pending = false;
        DecodeResult result = DecodeResult::kFailed;
        std::shared_ptr<const Image> picture;
        unsigned drawn = 0;  // the last Draw that named it
    };

    std::shared_ptr<const Image> Lookup(const std::string& mapPath, bool decodeNow);
    void ForgetUndrawn();

    const ImageFiles files;
    const uint64_t budget;
    uint64_t held = 0;  // pixels of the pictures in entries
    std::map<std::string, Entry> entries;
    unsigned draws = 0;
};
