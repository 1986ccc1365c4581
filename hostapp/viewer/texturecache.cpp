#include "hostapp/viewer/texturecache.h"

#include <algorithm>
#include <utility>

#include "hostapp/viewer/scenetriangles.h"

const char kOverBudgetText[] =
    "textures past 256 megapixels in all are drawn in their material's colour";

namespace {

uint64_t Pixels(const Image& image) { return uint64_t(image.width) * uint64_t(image.height); }

}  // namespace

void RunDecodeJob(DecodeJob& job, const ImageFiles& files, const std::atomic<bool>& cancel) {
    for (DecodeJob::File& file : job.files) {
        if (cancel) return;
        Image image;
        file.result = job.pixelsLeft == 0 ? DecodeResult::kOverBudget
                                          : files.decode(file.fullPath, job.pixelsLeft, image);
        if (file.result == DecodeResult::kPicture) {
            job.pixelsLeft -= std::min(job.pixelsLeft, Pixels(image));
            file.picture = std::make_shared<const Image>(std::move(image));
        }
        file.done = true;
    }
}

TextureCache::TextureCache(ImageFiles files, uint64_t pixelBudget)
    : files(std::move(files)), budget(pixelBudget) {}

SceneDrawing TextureCache::Draw(const HostScene& scene, bool decodeNow,
                                const std::string& colourBy) {
    ++draws;
    SceneDrawing drawing = BuildSceneDrawing(
        scene, [this, decodeNow](const std::string& path) { return Lookup(path, decodeNow); },
        colourBy);
    ForgetUndrawn();
    return drawing;
}

std::shared_ptr<const Image> TextureCache::Lookup(const std::string& mapPath, bool decodeNow) {
    std::string fullPath, key;
    if (!files.locate(mapPath, fullPath, key)) return nullptr;
    Entry& entry = entries[key];
    if (entry.fullPath.empty()) entry.fullPath = fullPath;
    entry.drawn = draws;
    if (decodeNow && !entry.tried && !entry.pending) {
        DecodeJob job;
        job.files.push_back({key, entry.fullPath});
        job.pixelsLeft = budget - held;
        RunDecodeJob(job, files, std::atomic<bool>(false));
        Finish(job);
    }
    return entry.picture;
}

// Pictures of an earlier scene make room; a picture that was left out for
// the budget gets another chance once room was made.
void TextureCache::ForgetUndrawn() {
    const uint64_t before = held;
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->second.drawn == draws || it->second.pending) {
            ++it;
            continue;
        }
        if (it->second.picture) held -= Pixels(*it->second.picture);
        it = entries.erase(it);
    }
    if (held == before) return;
    for (auto& [key, entry] : entries)
        if (entry.result == DecodeResult::kOverBudget) entry.tried = false;
}

bool TextureCache::HasWork() const {
    for (const auto& [key, entry] : entries)
        if (!entry.tried && !entry.pending) return true;
    return false;
}

DecodeJob TextureCache::TakeJob() {
    DecodeJob job;
    job.pixelsLeft = budget - held;
    for (auto& [key, entry] : entries) {
        if (entry.tried || entry.pending) continue;
        entry.pending = true;
        job.files.push_back({key, entry.fullPath});
    }
    return job;
}

bool TextureCache::Finish(const DecodeJob& job) {
    bool added = false;
    for (const DecodeJob::File& file : job.files) {
        auto it = entries.find(file.key);
        if (it == entries.end()) continue;
        Entry& entry = it->second;
        entry.pending = false;
        if (!file.done) continue;  // cancelled: tried again by the next job
        entry.tried = true;
        entry.result = file.result;
        if (!file.picture) continue;
        // Two jobs never run at once, so the budget the job had still holds.
        entry.picture = file.picture;
        held += Pixels(*file.picture);
        added = true;
    }
    return added;
}

bool TextureCache::OverBudget() const {
    for (const auto& [key, entry] : entries)
        if (entry.result == DecodeResult::kOverBudget) return true;
    return false;
}
