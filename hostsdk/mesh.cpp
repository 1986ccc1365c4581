// The host mesh. Arrays live on the host heap; every sizing call builds its
// new array first and swaps it in only on success, so a failure leaves the
// mesh exactly as it was.
#include "hostsdk/mesh.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

static_assert(sizeof(Face) == 20, "a face is three indices, a smoothing group and flags");
static_assert(sizeof(TVFace) == 12, "a map face is three indices");
static_assert(sizeof(Point3) == 12, "a vertex is three floats");

namespace {

// A new array of n default entries, the first `kept` copied from old;
// null when n is 0 or memory cannot be had (ok tells the two apart).
template <typename T>
T* NewArray(const T* old, int kept, int n, bool& ok) {
    ok = n >= 0;
    if (n <= 0) return nullptr;
    if (size_t(n) > SIZE_MAX / sizeof(T)) {
        ok = false;
        return nullptr;
    }
    T* fresh = static_cast<T*>(MAX_malloc(sizeof(T) * size_t(n)));
    if (!fresh) {
        ok = false;
        return nullptr;
    }
    int copied = old ? (kept < n ? kept : n) : 0;
    if (copied > 0) std::memcpy(static_cast<void*>(fresh), old, sizeof(T) * size_t(copied));
    for (int i = copied > 0 ? copied : 0; i < n; ++i) new (&fresh[i]) T();
    return fresh;
}

// Resizes one array with its count; false leaves both untouched.
template <typename T>
bool Resize(T*& array, int& count, int n, bool keep, int keepLimit = -1) {
    int kept = keep ? count : 0;
    if (keepLimit >= 0 && kept > keepLimit) kept = keepLimit;
    bool ok;
    T* fresh = NewArray(array, kept, n, ok);
    if (!ok) return false;
    zfree(array);
    array = fresh;
    count = n;
    return true;
}

// Whether the first count bits are all set.
bool AllMarked(const uint32_t* bits, int count) {
    for (int w = 0; w < count / 32; ++w)
        if (bits[w] != ~uint32_t(0)) return false;
    const uint32_t last = (uint32_t(1) << (count % 32)) - 1;
    return (bits[count / 32] & last) == last;
}

// Old -> new indices of count entries when the faces leave some of them
// unnamed, DWORD(-1) for those; kept is the number named. Null when they
// name them all (the usual mesh, found with one bit per entry) or when the
// scratch memory cannot be had: either way nothing is to change.
// Indices at or past the end are not marks; they stay past the end
// (shifted down by the removed count) so a bad index never becomes a good one.
template <typename FaceT, typename IndexOf>
DWORD* RemapOfUnnamed(const FaceT* faces, int numFaces, int count, IndexOf indexOf, int& kept) {
    uint32_t* named = static_cast<uint32_t*>(std::calloc(size_t(count) / 32 + 1, sizeof(uint32_t)));
    if (!named) return nullptr;
    for (int f = 0; f < numFaces; ++f)
        for (int k = 0; k < 3; ++k) {
            DWORD v = indexOf(faces[f], k);
            if (v < DWORD(count)) named[v / 32] |= uint32_t(1) << (v % 32);
        }
    DWORD* remap = nullptr;
    if (!AllMarked(named, count))
        remap = static_cast<DWORD*>(std::calloc(size_t(count), sizeof(DWORD)));
    if (remap) {
        DWORD next = 0;
        for (int i = 0; i < count; ++i)
            remap[i] = (named[i / 32] >> (i % 32)) & 1 ? next++ : DWORD(-1);
        kept = int(next);
    }
    std::free(named);
    return remap;
}

DWORD Remapped(const DWORD* remap, int count, int kept, DWORD v) {
    if (v < DWORD(count)) return remap[v];
    return v - DWORD(count - kept);
}

template <typename T>
void Compact(T* array, const DWORD* remap, int count) {
    if (!array) return;
    for (int i = 0; i < count; ++i)
        if (remap[i] != DWORD(-1)) array[remap[i]] = array[i];
}

// Removes the entries of one map channel that no map face uses.
void DeleteIsoChannel(Point3*& verts, int& numVerts, TVFace* faces, int numFaces) {
    if (numVerts == 0) return;
    int kept;
    DWORD* remap = RemapOfUnnamed(
        faces, numFaces, numVerts, [](const TVFace& f, int k) { return f.t[k]; }, kept);
    if (!remap) return;
    Compact(verts, remap, numVerts);
    for (int f = 0; f < numFaces; ++f)
        for (int k = 0; k < 3; ++k) faces[f].t[k] = Remapped(remap, numVerts, kept, faces[f].t[k]);
    numVerts = kept;
    if (kept == 0) {
        zfree(verts);
        verts = nullptr;
    }
    std::free(remap);
}

bool FaceInRange(const Face& f, int numVerts) {
    return f.v[0] < DWORD(numVerts) && f.v[1] < DWORD(numVerts) && f.v[2] < DWORD(numVerts);
}

}  // namespace

Mesh::Mesh()
    : numVerts(0),
      numFaces(0),
      verts(nullptr),
      faces(nullptr),
      numTVerts(0),
      tVerts(nullptr),
      tvFace(nullptr),
      numTVFaces(0),
      numCVerts(0),
      vertCol(nullptr),
      vcFace(nullptr),
      numVCFaces(0),
      colourSupport(false),
      textureSupport(false),
      numMaps(2),
      furtherMaps(nullptr),
      explicitNormals(nullptr),
      faceNormals(nullptr),
      vertexNormals(nullptr),
      edgeListValid(false) {}

Mesh::~Mesh() {
    zfree(verts);
    zfree(faces);
    zfree(tVerts);
    zfree(tvFace);
    zfree(vertCol);
    zfree(vcFace);
    zfree(explicitNormals);
    freeNormals();
    freeChannel(alpha);
    freeFurtherChannels();
}

void Mesh::freeChannel(MapChannel& ch) {
    zfree(ch.verts);
    zfree(ch.faces);
    ch = MapChannel();
}

namespace {

void FreeMapArrays(Point3*& verts, int& numVerts, TVFace*& faces, int& numFaces) {
    zfree(verts);
    zfree(faces);
    verts = nullptr;
    faces = nullptr;
    numVerts = 0;
    numFaces = 0;
}

}  // namespace

void Mesh::freeColourChannel() { FreeMapArrays(vertCol, numCVerts, vcFace, numVCFaces); }

void Mesh::freeTextureChannel() { FreeMapArrays(tVerts, numTVerts, tvFace, numTVFaces); }

void Mesh::freeFurtherChannels() {
    for (int i = 0; i < numMaps - 2; ++i) freeChannel(furtherMaps[i]);
    zfree(furtherMaps);
    furtherMaps = nullptr;
    numMaps = 2;
}

void Mesh::freeNormals() {
    zfree(faceNormals);
    zfree(vertexNormals);
    faceNormals = nullptr;
    vertexNormals = nullptr;
}

// The explicit normals follow the vertex array: resized with it when kept,
// dropped when the vertices are not kept.
BOOL Mesh::setNumVerts(int n, BOOL keep, BOOL synchSel) {
    bool ok;
    Point3* freshVerts = NewArray(verts, keep ? numVerts : 0, n, ok);
    if (!ok) return FALSE;
    Point3* freshNormals = nullptr;
    if (keep && explicitNormals) {
        freshNormals = NewArray(explicitNormals, numVerts, n, ok);
        if (!ok) {
            zfree(freshVerts);
            return FALSE;
        }
    }
    zfree(verts);
    zfree(explicitNormals);
    verts = freshVerts;
    explicitNormals = freshNormals;
    numVerts = n;
    freeNormals();
    edgeListValid = false;
    return TRUE;
}

BOOL Mesh::setNumFaces(int n, BOOL keep, BOOL synchSel) {
    if (!Resize(faces, numFaces, n, keep != FALSE)) return FALSE;
    freeNormals();
    edgeListValid = false;
    return TRUE;
}

BOOL Mesh::setNumTVerts(int n, BOOL keep) { return Resize(tVerts, numTVerts, n, keep != FALSE); }

BOOL Mesh::setNumTVFaces(int n, BOOL keep, int oldCt) {
    return Resize(tvFace, numTVFaces, n, keep != FALSE, oldCt > 0 ? oldCt : -1);
}

BOOL Mesh::setNumVertCol(int n, BOOL keep) { return Resize(vertCol, numCVerts, n, keep != FALSE); }

BOOL Mesh::setNumVCFaces(int n, BOOL keep, int oldCt) {
    return Resize(vcFace, numVCFaces, n, keep != FALSE, oldCt > 0 ? oldCt : -1);
}

Mesh::MapChannel* Mesh::storedChannel(int mp) {
    if (mp == MAP_ALPHA) return &alpha;
    if (mp >= 2 && mp < numMaps) return &furtherMaps[mp - 2];
    return nullptr;
}

const Mesh::MapChannel* Mesh::storedChannel(int mp) const {
    return const_cast<Mesh*>(this)->storedChannel(mp);
}

// The alpha channel sizes whether supported or not, a further one only while supported.
Mesh::MapChannel* Mesh::sizableChannel(int mp) {
    MapChannel* ch = storedChannel(mp);
    return ch && (ch->support || mp == MAP_ALPHA) ? ch : nullptr;
}

// Only the further channels live in the table; 0 and 1 are the public fields.
BOOL Mesh::setNumMaps(int ct, BOOL keep) {
    if (ct > MAX_MESHMAPS) return FALSE;
    if (ct < 2) ct = 2;
    const int oldCount = numMaps - 2;
    const int newCount = ct - 2;
    bool ok;
    MapChannel* fresh = NewArray(furtherMaps, keep ? oldCount : 0, newCount, ok);
    if (!ok) return FALSE;
    const int keptCount = keep ? (oldCount < newCount ? oldCount : newCount) : 0;
    for (int i = keptCount; i < oldCount; ++i) freeChannel(furtherMaps[i]);
    zfree(furtherMaps);
    furtherMaps = fresh;
    numMaps = ct;
    return TRUE;
}

void Mesh::setMapSupport(int mp, BOOL support) {
    const bool on = support != FALSE;
    if (mp == 0) {
        colourSupport = on;
        if (!on) freeColourChannel();
        return;
    }
    if (mp == 1) {
        textureSupport = on;
        if (!on) freeTextureChannel();
        return;
    }
    if (on && mp >= numMaps && mp < MAX_MESHMAPS && !setNumMaps(mp + 1, TRUE)) return;
    MapChannel* ch = storedChannel(mp);
    if (!ch) return;
    if (!on) freeChannel(*ch);
    ch->support = on;
}

BOOL Mesh::mapSupport(int mp) const {
    if (mp == 0) return colourSupport || numCVerts > 0 || numVCFaces > 0;
    if (mp == 1) return textureSupport || numTVerts > 0 || numTVFaces > 0;
    const MapChannel* ch = storedChannel(mp);
    return ch && ch->support;
}

BOOL Mesh::setNumMapVerts(int mp, int n, BOOL keep) {
    if (mp == 0) return setNumVertCol(n, keep);
    if (mp == 1) return setNumTVerts(n, keep);
    MapChannel* ch = sizableChannel(mp);
    if (!ch) return FALSE;
    return Resize(ch->verts, ch->numVerts, n, keep != FALSE);
}

BOOL Mesh::setNumMapFaces(int mp, int n, BOOL keep, int oldCt) {
    if (mp == 0) return setNumVCFaces(n, keep, oldCt);
    if (mp == 1) return setNumTVFaces(n, keep, oldCt);
    MapChannel* ch = sizableChannel(mp);
    if (!ch) return FALSE;
    return Resize(ch->faces, ch->numFaces, n, keep != FALSE, oldCt > 0 ? oldCt : -1);
}

int Mesh::getNumMapVerts(int mp) const {
    if (mp == 0) return numCVerts;
    if (mp == 1) return numTVerts;
    const MapChannel* ch = storedChannel(mp);
    return ch ? ch->numVerts : 0;
}

int Mesh::getNumMapFaces(int mp) const {
    if (mp == 0) return numVCFaces;
    if (mp == 1) return numTVFaces;
    const MapChannel* ch = storedChannel(mp);
    return ch ? ch->numFaces : 0;
}

UVVert* Mesh::mapVerts(int mp) {
    if (mp == 0) return vertCol;
    if (mp == 1) return tVerts;
    MapChannel* ch = storedChannel(mp);
    return ch ? ch->verts : nullptr;
}

TVFace* Mesh::mapFaces(int mp) {
    if (mp == 0) return vcFace;
    if (mp == 1) return tvFace;
    MapChannel* ch = storedChannel(mp);
    return ch ? ch->faces : nullptr;
}

// The normal array is made on the first call, sized to the vertices; an
// index outside them, or no memory for the array, drops the normal.
void Mesh::setNormal(int i, const Point3& n) {
    if (i < 0 || i >= numVerts || !explicitNormalArray()) return;
    explicitNormals[i] = n;
}

Point3* Mesh::explicitNormalArray() {
    if (!explicitNormals) {
        bool ok;
        explicitNormals = NewArray<Point3>(nullptr, 0, numVerts, ok);
    }
    return explicitNormals;
}

Point3 Mesh::getExplicitNormal(int i) const {
    if (!explicitNormals || i < 0 || i >= numVerts) return Point3();
    return explicitNormals[i];
}

// Every vertex that no face names goes, so a mesh without faces loses all
// its vertices: a point cloud must not be passed here. Map channels keep
// their own indices and are left alone (see DeleteIsoMapVerts).
void Mesh::DeleteIsoVerts() {
    if (numVerts == 0) return;
    int kept;
    DWORD* remap = RemapOfUnnamed(
        faces, numFaces, numVerts, [](const Face& f, int k) { return f.v[k]; }, kept);
    if (!remap) return;  // every vertex named, or no scratch memory: nothing changes
    Compact(verts, remap, numVerts);
    Compact(explicitNormals, remap, numVerts);
    for (int f = 0; f < numFaces; ++f)
        for (int k = 0; k < 3; ++k) faces[f].v[k] = Remapped(remap, numVerts, kept, faces[f].v[k]);
    numVerts = kept;
    if (kept == 0) {
        zfree(verts);
        zfree(explicitNormals);
        verts = nullptr;
        explicitNormals = nullptr;
    }
    freeNormals();
    edgeListValid = false;
    std::free(remap);
}

void Mesh::DeleteIsoMapVerts() {
    DeleteIsoChannel(tVerts, numTVerts, tvFace, numTVFaces);
    DeleteIsoChannel(vertCol, numCVerts, vcFace, numVCFaces);
    DeleteIsoChannel(alpha.verts, alpha.numVerts, alpha.faces, alpha.numFaces);
    for (int i = 0; i < numMaps - 2; ++i) {
        MapChannel& ch = furtherMaps[i];
        DeleteIsoChannel(ch.verts, ch.numVerts, ch.faces, ch.numFaces);
    }
}

// Face normals are the unit normals of the triangles (zero for degenerate
// ones and for faces naming a vertex outside the mesh). A vertex normal is
// the unit sum of the normals of the smoothed faces (smoothing group not 0)
// that use it; a vertex used only by faceted faces takes their sum instead.
void Mesh::buildNormals() {
    freeNormals();
    bool ok;
    faceNormals = NewArray<Point3>(nullptr, 0, numFaces, ok);
    if (!ok) return;
    vertexNormals = NewArray<Point3>(nullptr, 0, numVerts, ok);
    if (!ok) {
        freeNormals();
        return;
    }
    Point3* flat = static_cast<Point3*>(std::calloc(size_t(numVerts) + 1, sizeof(Point3)));
    for (int f = 0; f < numFaces; ++f) {
        const Face& face = faces[f];
        if (!FaceInRange(face, numVerts)) continue;
        Point3 a = verts[face.v[0]], b = verts[face.v[1]], c = verts[face.v[2]];
        faceNormals[f] = Normalize(CrossProd(b - a, c - a));
        for (int k = 0; k < 3; ++k) {
            if (face.smGroup != 0)
                vertexNormals[face.v[k]] += faceNormals[f];
            else if (flat)
                flat[face.v[k]] += faceNormals[f];
        }
    }
    for (int i = 0; i < numVerts; ++i) {
        Point3 n = vertexNormals[i];
        if (n == Point3() && flat) n = flat[i];
        vertexNormals[i] = Normalize(n);
    }
    std::free(flat);
}

void Mesh::buildBoundingBox() {
    bbox.Init();
    for (int i = 0; i < numVerts; ++i) bbox += verts[i];
}

void Mesh::subtractFromVerts(const Point3& p) {
    for (int i = 0; i < numVerts; ++i) verts[i] -= p;
    if (bbox.IsEmpty()) return;
    bbox.pmin -= p;
    bbox.pmax -= p;
}

Box3 Mesh::getBoundingBox(Matrix3* tm) {
    if (!tm || bbox.IsEmpty()) return bbox;
    Box3 out;
    for (int corner = 0; corner < 8; ++corner) {
        Point3 p((corner & 1) ? bbox.pmax.x : bbox.pmin.x, (corner & 2) ? bbox.pmax.y : bbox.pmin.y,
                 (corner & 4) ? bbox.pmax.z : bbox.pmin.z);
        out += tm->PointTransform(p);
    }
    return out;
}
