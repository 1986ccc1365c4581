#!/usr/bin/python3
"""Other programs read what the exporter writes.

    other_readers.py EXPORT_CORE_TESTS PLYDUMP

Runs the round trip over the corpus and the examples, keeping every file it
exports, then reads each with two readers of other projects, Open3D and
assimp's command-line tool, and with our own (plydump), and checks that they
find the same vertex and face counts and the same values: positions, normals
and colours in file order with Open3D, the positions as a whole with assimp
(which orders and merges them its own way, in floats). Debian's assimp (5.2) crashes on binary
data whose first byte is a line feed, a fault of its own that a later
version mends: such a file is read by meshio in its place. Prints one line
a file that differs, then "N passed, N failed".
"""
import os
import re
import subprocess
import sys
import tempfile

import numpy as np
import open3d as o3d


def ours(plydump, path):
    """Positions, normals, colours (0..1) and faces as our reader reads them."""
    out = subprocess.run([plydump, path], capture_output=True, text=True, check=True).stdout
    verts, faces = [], []
    for line in out.splitlines():
        t = line.split()
        if t and t[0] == "v":
            verts.append([float(x) for x in t[1:13]])
        elif t and t[0] == "f":
            n = int(t[1])
            faces.append([int(x) for x in t[2 : 2 + n]])
    v = np.array(verts, dtype=np.float64).reshape(-1, 12)
    return v[:, 0:3], v[:, 3:6], v[:, 9:12], faces


def header(path):
    with open(path, "rb") as f:
        text = f.read(4096).split(b"end_header")[0].decode("ascii", "replace")
    return text


def close(a, b):
    if a.shape != b.shape:
        return False
    scale = max(1.0, float(np.abs(a).max(initial=0.0)))
    return bool(np.allclose(a, b, rtol=1e-6, atol=1e-6 * scale))


def same_positions(got, positions):
    mine = np.unique(positions.astype(np.float32), axis=0).astype(np.float64)
    got = np.unique(got.astype(np.float32), axis=0).astype(np.float64)
    if len(got) != len(mine):
        return False
    tolerance = 1e-6 * max(1.0, float(np.abs(mine).max(initial=0.0)))
    cloud = o3d.geometry.PointCloud(o3d.utility.Vector3dVector(got))
    tree = o3d.geometry.KDTreeFlann(cloud)
    for p in mine:
        _, _, distance2 = tree.search_knn_vector_3d(p, 1)
        if distance2[0] > tolerance * tolerance * 3:
            return False
    return True


def check_open3d(path, positions, normals, colours, faces):
    text = header(path)
    if faces:
        mesh = o3d.io.read_triangle_mesh(path)
        got = np.asarray(mesh.vertices)
        triangles = sum(len(f) - 2 for f in faces)
        if len(mesh.triangles) != triangles:
            return "open3d: %d triangles, ours %d" % (len(mesh.triangles), triangles)
        got_normals = np.asarray(mesh.vertex_normals)
        got_colours = np.asarray(mesh.vertex_colors)
    else:
        cloud = o3d.io.read_point_cloud(path)
        got = np.asarray(cloud.points)
        got_normals = np.asarray(cloud.normals)
        got_colours = np.asarray(cloud.colors)
    if not close(got, positions):
        return "open3d: %d positions differ from ours (%d)" % (len(got), len(positions))
    if "property float nx" in text and not close(got_normals, normals):
        return "open3d: normals differ"
    if "property uchar red" in text and not close(got_colours, colours):
        return "open3d: colours differ"
    return None


def first_data_byte(path):
    with open(path, "rb") as f:
        data = f.read(65536)
    return data[data.index(b"end_header\n") + len(b"end_header\n") :][:1]


def check_meshio(path, positions, faces):
    import meshio

    mesh = meshio.read(path)
    cells = sum(len(c.data) for c in mesh.cells)
    if cells != len(faces) or not close(np.asarray(mesh.points, dtype=np.float64), positions):
        return "meshio: %d points %d cells, ours %d %d" % (len(mesh.points), cells, len(positions), len(faces))
    return None


def check_assimp(path, positions, faces):
    if "format binary" in header(path) and first_data_byte(path) == b"\n":
        return check_meshio(path, positions, faces)
    info = subprocess.run(["assimp", "info", path, "-r"], capture_output=True, text=True).stdout
    counts = dict(re.findall(r"^(Vertices|Faces):\s+(\d+)", info, re.M))
    expected_faces = len(faces)
    if int(counts.get("Vertices", -1)) != len(positions) or int(counts.get("Faces", -1)) != expected_faces:
        return "assimp: %s, ours %d vertices %d faces" % (counts, len(positions), expected_faces)
    if not faces:
        return None
    with tempfile.TemporaryDirectory() as work:
        obj = os.path.join(work, "out.obj")
        subprocess.run(["assimp", "export", path, obj], capture_output=True, check=True)
        with open(obj) as f:
            got = np.array([[float(x) for x in l.split()[1:4]] for l in f if l.startswith("v ")])
    # Its OBJ writes each position once, in its own order and in floats:
    # every one of ours must have one of its within a float's rounding.
    if not same_positions(got, positions):
        return "assimp: positions differ from ours"
    return None


def main():
    tests, plydump = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as keep:
        env = dict(os.environ, KS_KEEP_EXPORTS=keep)
        # Whether the round trip held is its own test's business.
        subprocess.run([tests, "--gtest_filter=RoundTripAll.*"], env=env,
                       stdout=subprocess.DEVNULL)
        passed = failed = 0
        for name in sorted(os.listdir(keep)):
            path = os.path.join(keep, name)
            positions, normals, colours, faces = ours(plydump, path)
            problem = check_open3d(path, positions, normals, colours, faces) or check_assimp(
                path, positions, faces)
            if problem:
                failed += 1
                print("%s: %s" % (name, problem))
            else:
                passed += 1
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
