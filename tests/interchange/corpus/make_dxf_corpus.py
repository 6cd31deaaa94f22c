#!/usr/bin/python3
"""Writes the DXF files of this corpus with ezdxf (Debian python3-ezdxf) and prints,
for each, the faces and distinct points at mesh resolution that ezdxf reads back."""
import ezdxf

CUBE = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0), (0, 0, 1), (1, 0, 1), (1, 1, 1), (0, 1, 1)]
CUBE_FACES = [(0, 3, 2, 1), (4, 5, 6, 7), (0, 1, 5, 4), (1, 2, 6, 5), (2, 3, 7, 6), (3, 0, 4, 7)]
PYRAMID = [(0, 0, 0), (2, 0, 0), (2, 2, 0), (0, 2, 0), (1, 1, 1.5)]
PYRAMID_FACES = [(0, 3, 2, 1), (0, 1, 4), (1, 2, 4), (2, 3, 4), (3, 0, 4)]


def polyface(space, points, faces, layer, hidden_edges=False):
    mesh = space.add_polyface(dxfattribs={"layer": layer})
    mesh.append_faces([[points[i] for i in f] for f in faces], dxfattribs={"layer": layer})
    mesh.optimize()
    if hidden_edges:  # negative indices mark hidden edges
        for v in mesh.vertices:
            if v.is_face_record:
                v.dxf.vtx0 = -abs(v.dxf.vtx0)
    return mesh


def save(doc, name, fmt="asc"):
    doc.saveas(name, fmt=fmt)


def counts(name):
    """Faces and distinct points (x100, rounded) of the model space as ezdxf reads them."""
    doc = ezdxf.readfile(name)
    faces, points = 0, set()

    def add(vertices):
        nonlocal faces
        faces += 1
        for v in vertices:
            points.add(tuple(round(c * 100) for c in v))

    for e in doc.modelspace():
        for entity in ([e] if e.dxftype() != "INSERT" else list(e.virtual_entities())):
            if entity.dxftype() == "3DFACE":
                add([entity.dxf.vtx0, entity.dxf.vtx1, entity.dxf.vtx2, entity.dxf.vtx3])
            elif entity.dxftype() == "POLYLINE" and entity.is_poly_face_mesh:
                for f in entity.faces():
                    add([v.dxf.location for v in f[:-1]])  # the last is the face record
    return faces, len(points)


def main():
    doc = ezdxf.new("R12")
    polyface(doc.modelspace(), CUBE, CUBE_FACES, "TEXTUR_0003_0_0")
    save(doc, "polyface_cube_r12.dxf")

    doc = ezdxf.new("R2018")
    polyface(doc.modelspace(), PYRAMID, PYRAMID_FACES, "FLIPED_0002_0_0", hidden_edges=True)
    doc.modelspace().add_3dface([(3, 0, 0), (4, 0, 0), (4, 1, 0), (3, 1, 0)],
                                dxfattribs={"layer": "TEXTUR_0001_0_0"})
    save(doc, "polyface_pyramid_r2018.dxf")

    doc = ezdxf.new("R2000")
    block = doc.blocks.new("PART")
    polyface(block, CUBE, CUBE_FACES, "0")
    doc.modelspace().add_blockref("PART", (5, 0, 0), dxfattribs={"layer": "TEXTUR_0004_0_0",
                                                                 "rotation": 90})
    save(doc, "block_insert_r2000.dxf")

    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    msp.add_3dface([(0, 0, 0), (1, 0, 0), (0, 1, 0)], dxfattribs={"layer": "TEXTUR_0001_3_0"})
    msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)],
                   dxfattribs={"layer": "FLIPED_0002_0_14"})
    save(doc, "3dface_r2010.dxf")

    doc = ezdxf.new("R2013")
    msp = doc.modelspace()
    msp.add_line((0, 0, 0), (1, 1, 1))
    msp.add_point((2, 2, 2))
    msp.add_polyline3d([(0, 0, 0), (1, 0, 0), (1, 1, 1)])
    save(doc, "lines_points_r2013.dxf")

    doc = ezdxf.new("R2010")
    polyface(doc.modelspace(), CUBE, CUBE_FACES, "TEXTUR_0003_0_0")
    save(doc, "polyface_cube_binary.dxf", fmt="bin")

    for name in ["polyface_cube_r12.dxf", "polyface_pyramid_r2018.dxf", "block_insert_r2000.dxf",
                 "3dface_r2010.dxf", "lines_points_r2013.dxf"]:
        print(name, *counts(name))


main()
