// Points, boxes, colours and the 4x3 transform of the host.
#pragma once

#include "hostsdk/hostapi.h"

class Point3 {
public:
    float x, y, z;
    Point3() : x(0), y(0), z(0) {}
    Point3(float xx, float yy, float zz) : x(xx), y(yy), z(zz) {}
    float& operator[](int i) { return (&x)[i]; }
    const float& operator[](int i) const { return (&x)[i]; }
    Point3& operator-=(const Point3& p) { x -= p.x; y -= p.y; z -= p.z; return *this; }
    Point3& operator+=(const Point3& p) { x += p.x; y += p.y; z += p.z; return *this; }
    Point3& operator*=(float f) { x *= f; y *= f; z *= f; return *this; }
    Point3 operator-(const Point3& p) const { return Point3(x - p.x, y - p.y, z - p.z); }
    Point3 operator+(const Point3& p) const { return Point3(x + p.x, y + p.y, z + p.z); }
    Point3 operator*(float f) const { return Point3(x * f, y * f, z * f); }
    Point3 operator/(float f) const { return Point3(x / f, y / f, z / f); }
    bool operator==(const Point3& p) const { return x == p.x && y == p.y && z == p.z; }
};

HOSTSDK_API Point3 CrossProd(const Point3& a, const Point3& b);
HOSTSDK_API float Length(const Point3& p);
HOSTSDK_API Point3 Normalize(const Point3& p);  // the zero vector stays zero

typedef Point3 UVVert;
typedef Point3 VertColor;

class Color {
public:
    float r, g, b;
    Color() : r(0), g(0), b(0) {}
    Color(float rr, float gg, float bb) : r(rr), g(gg), b(bb) {}
};

// Flags of Matrix3: a set bit says that part is the identity.
const DWORD POS_IDENT = 1;
const DWORD ROT_IDENT = 2;
const DWORD SCL_IDENT = 4;
const DWORD MAT_IDENT = POS_IDENT | ROT_IDENT | SCL_IDENT;

class HOSTSDK_API Matrix3 {
public:
    Matrix3();  // identity
    void IdentityMatrix();
    Point3 GetRow(int i) const { return Point3(m[i][0], m[i][1], m[i][2]); }
    void SetRow(int i, const Point3& p) { m[i][0] = p.x; m[i][1] = p.y; m[i][2] = p.z; }
    Point3 GetTrans() const { return GetRow(3); }
    // Only the translation row; the caller clears POS_IDENT when it means it.
    void SetTransRow(const Point3& p) { SetRow(3, p); }
    void ClearIdentFlag(DWORD f) { flags &= ~f; }
    void SetIdentFlags(DWORD f) { flags = f; }
    DWORD GetIdentFlags() const { return flags; }
    Point3 PointTransform(const Point3& p) const;

    float m[4][3];
    DWORD flags;
};

class HOSTSDK_API Box3 {
public:
    Point3 pmin, pmax;
    Box3();  // empty
    void Init();
    bool IsEmpty() const;
    Box3& operator+=(const Point3& p) {
        for (int i = 0; i < 3; ++i) {
            if (p[i] < pmin[i]) pmin[i] = p[i];
            if (p[i] > pmax[i]) pmax[i] = p[i];
        }
        return *this;
    }
    Point3 Center() const;
    Point3 Min() const { return pmin; }
    Point3 Max() const { return pmax; }
};
