// The host's triangle mesh: faces of 20 bytes, map channels, normals,
// isolated-vertex removal and bounding box.
#pragma once

#include "hostsdk/geom.h"

const DWORD EDGE_A = 1;
const DWORD EDGE_B = 2;
const DWORD EDGE_C = 4;
const DWORD EDGE_ALL = EDGE_A | EDGE_B | EDGE_C;
const int FACE_MATID_SHIFT = 16;
const DWORD FACE_MATID_MASK = 0xFFFF;
// Map channels: 0 the vertex colours, 1 the texture coordinates, 2 and up
// further channels, below MAX_MESHMAPS; MAP_ALPHA the hidden vertex alpha.
const int MAP_ALPHA = -2;
const int MAX_MESHMAPS = 100;

// Three vertex indices, smoothing group, flags: material id in the upper
// 16 bits, edge visibility in the lower bits.
class HOSTSDK_API Face {
public:
    DWORD v[3];
    DWORD smGroup;
    DWORD flags;

    Face() : v{0, 0, 0}, smGroup(0), flags(0) {}
    void setVerts(int a, int b, int c) { v[0] = a; v[1] = b; v[2] = c; }
    void setSmGroup(DWORD g) { smGroup = g; }
    DWORD getSmGroup() const { return smGroup; }
    void setMatID(MtlID id) { flags = (flags & 0xFFFF) | (DWORD(id) << FACE_MATID_SHIFT); }
    MtlID getMatID() const { return MtlID((flags >> FACE_MATID_SHIFT) & FACE_MATID_MASK); }
    void setEdgeVisFlags(int va, int vb, int vc) {
        flags = (flags & ~EDGE_ALL) | (va ? EDGE_A : 0) | (vb ? EDGE_B : 0) | (vc ? EDGE_C : 0);
    }
    int getEdgeVis(int edge) const { return (flags >> edge) & 1; }
    DWORD getVert(int i) const { return v[i]; }
};

class HOSTSDK_API TVFace {
public:
    DWORD t[3];
    TVFace() : t{0, 0, 0} {}
    void setTVerts(int a, int b, int c) { t[0] = a; t[1] = b; t[2] = c; }
    DWORD getTVert(int i) const { return t[i]; }
};

class HOSTSDK_API Mesh : public MaxHeapOperators {
public:
    Mesh();
    ~Mesh();

    // Sizing: false when the memory cannot be had (the arrays are then
    // unchanged); never throws. keep copies the old entries that still fit.
    BOOL setNumVerts(int n, BOOL keep = FALSE, BOOL synchSel = TRUE);
    BOOL setNumFaces(int n, BOOL keep = FALSE, BOOL synchSel = TRUE);
    BOOL setNumTVerts(int n, BOOL keep = FALSE);
    BOOL setNumTVFaces(int n, BOOL keep = FALSE, int oldCt = 0);
    BOOL setNumVertCol(int n, BOOL keep = FALSE);
    BOOL setNumVCFaces(int n, BOOL keep = FALSE, int oldCt = 0);

    int getNumVerts() const { return numVerts; }
    int getNumFaces() const { return numFaces; }
    int getNumTVerts() const { return numTVerts; }
    int getNumVertCol() const { return numCVerts; }
    void setVert(int i, const Point3& p) { verts[i] = p; }
    Point3& getVert(int i) { return verts[i]; }
    void setTVert(int i, const UVVert& p) { tVerts[i] = p; }

    // Map channels: 0 is vertCol/vcFace and 1 is tVerts/tvFace, sized as
    // setNumVertCol/setNumTVerts size them and supported while asked for or
    // while they have entries; MAP_ALPHA sizes supported or not; 2 and up
    // exist below getNumMaps() and size only while supported. Any other
    // channel answers FALSE, 0 or null; turning support off drops a
    // channel's arrays. Map faces parallel the geometry faces; an alpha
    // value a is stored as UVVert(a, a, a).

    // Channels 0..ct-1 (at least 2) exist; channels at or past ct go, and
    // without keep the further channels below ct start empty and unsupported.
    BOOL setNumMaps(int ct, BOOL keep = FALSE);
    int getNumMaps() const { return numMaps; }
    // Support for a channel past getNumMaps() first grows the count to it.
    void setMapSupport(int mp, BOOL support = TRUE);
    BOOL mapSupport(int mp) const;
    BOOL setNumMapVerts(int mp, int n, BOOL keep = FALSE);
    BOOL setNumMapFaces(int mp, int n, BOOL keep = FALSE, int oldCt = 0);
    int getNumMapVerts(int mp) const;
    int getNumMapFaces(int mp) const;
    UVVert* mapVerts(int mp);
    TVFace* mapFaces(int mp);

    // Explicit normals, kept apart from those buildNormals computes. Stored
    // as given; an index outside the vertices (or no memory for the normal
    // array, made on the first call) drops the normal. They follow the
    // vertices: kept by setNumVerts(n, TRUE), dropped by setNumVerts(n, FALSE).
    void setNormal(int i, const Point3& n);
    bool hasExplicitNormals() const { return explicitNormals != nullptr; }
    // The explicit normals as one array, for a caller that writes them all:
    // made (zeroed, one per vertex) when there is none; null when there are
    // no vertices or no memory for it.
    Point3* explicitNormalArray();
    Point3 getExplicitNormal(int i) const;  // (0,0,0) where none was set

    // Removes vertices no face uses; remaps faces and explicit normals.
    // A mesh without faces has only isolated vertices and loses them all,
    // so a point cloud is not passed here. The map channels keep their own
    // indices and are untouched. A face index past the end stays past it.
    void DeleteIsoVerts();
    // The same for every map channel, each against its own map faces (a
    // channel without map faces loses all its entries).
    void DeleteIsoMapVerts();
    // Face normals and smoothed vertex normals from the geometry (smoothing
    // group 0 faces are faceted). Sizing calls and DeleteIsoVerts drop them.
    void buildNormals();
    const Point3* getFaceNormals() const { return faceNormals; }
    const Point3* getVertexNormals() const { return vertexNormals; }
    void InvalidateEdgeList() { edgeListValid = false; }
    bool isEdgeListValid() const { return edgeListValid; }
    // The box of all vertices, faces or not (empty for no vertices).
    void buildBoundingBox();
    // Subtracts p from every vertex and from the box of the last
    // buildBoundingBox, which stays the box a rebuild would give: rounding
    // keeps the order of the coordinates.
    void subtractFromVerts(const Point3& p);
    // The box of the last buildBoundingBox, transformed by tm when given.
    Box3 getBoundingBox(Matrix3* tm = nullptr);

    int numVerts;
    int numFaces;
    Point3* verts;
    Face* faces;
    int numTVerts;
    UVVert* tVerts;
    TVFace* tvFace;
    int numTVFaces;
    int numCVerts;
    VertColor* vertCol;
    TVFace* vcFace;
    int numVCFaces;

private:
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;
    // The arrays of the alpha channel or of one further channel.
    struct MapChannel {
        bool support = false;
        int numVerts = 0;
        UVVert* verts = nullptr;
        int numFaces = 0;
        TVFace* faces = nullptr;
    };
    static void freeChannel(MapChannel& ch);
    // The alpha or further channel mp; null for 0, 1 and channels that do not exist.
    MapChannel* storedChannel(int mp);
    const MapChannel* storedChannel(int mp) const;
    MapChannel* sizableChannel(int mp);  // null where sizing is refused
    void freeNormals();
    void freeColourChannel();
    void freeTextureChannel();
    void freeFurtherChannels();

    bool colourSupport;
    bool textureSupport;
    MapChannel alpha;
    // Channels 2..numMaps-1, made when first asked for: most meshes have none.
    int numMaps;
    MapChannel* furtherMaps;
    Point3* explicitNormals;
    Point3* faceNormals;
    Point3* vertexNormals;
    bool edgeListValid;
    Box3 bbox;
};
