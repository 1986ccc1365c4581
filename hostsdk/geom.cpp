// Points, boxes and the 4x3 transform.
#include "hostsdk/geom.h"

#include <cmath>

Point3 CrossProd(const Point3& a, const Point3& b) {
    return Point3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float Length(const Point3& p) { return std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z); }

Point3 Normalize(const Point3& p) {
    float len = Length(p);
    return len > 0 ? p / len : Point3();
}

Matrix3::Matrix3() { IdentityMatrix(); }

void Matrix3::IdentityMatrix() {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = (i == j) ? 1.0f : 0.0f;
    flags = MAT_IDENT;
}

Point3 Matrix3::PointTransform(const Point3& p) const {
    Point3 r;
    for (int j = 0; j < 3; ++j) r[j] = p.x * m[0][j] + p.y * m[1][j] + p.z * m[2][j] + m[3][j];
    return r;
}

Box3::Box3() { Init(); }

// Empty is min above max; the first point added makes a box of one point.
void Box3::Init() {
    pmin = Point3(1e30f, 1e30f, 1e30f);
    pmax = Point3(-1e30f, -1e30f, -1e30f);
}

bool Box3::IsEmpty() const { return pmin.x > pmax.x || pmin.y > pmax.y || pmin.z > pmax.z; }

Point3 Box3::Center() const { return (pmin + pmax) * 0.5f; }
