"""Small OBJ meshes and Maya ASCII scenes for the tests, laid out as Maya writes them."""

import re
from typing import Dict, List, Sequence, Tuple

Edge = Tuple[int, int]

EDGES_PER_BLOCK = 166


def _edge_block(first: int, edges: Sequence[Edge], count_inline: bool) -> str:
    # Maya wraps the numbers over continuation lines of two tabs and a blank,
    # with ";" glued to the last number.
    last = first + len(edges) - 1
    line = "\tsetAttr "
    if count_inline:
        line += "-s %d " % len(edges)
    line += '".ed[%d:%d]"' % (first, last) + ("  " if first == 0 else " ")
    lines = []
    first_on_line = True
    for a, b in edges:
        for number in (a, b, 0):
            text = str(number)
            if len(line) + len(text) + 1 > 96:
                lines.append(line)
                line, first_on_line = "\t\t ", True
            line += ("" if first_on_line else " ") + text
            first_on_line = False
    lines.append(line + ";")
    return "\n".join(lines) + "\n"


def edge_list(edges: Sequence[Edge]) -> str:
    """The ".ed" statements of a mesh: none, one, or a count and blocks of 166."""
    if not edges:
        return ""
    if len(edges) <= EDGES_PER_BLOCK:
        return _edge_block(0, edges, True)
    text = '\tsetAttr -s %d ".ed";\n' % len(edges)
    for first in range(0, len(edges), EDGES_PER_BLOCK):
        text += _edge_block(first, edges[first:first + EDGES_PER_BLOCK], False)
    return text


EMPTY_CREASES = '\tsetAttr ".cd" -type "dataPolyComponent" Index_Data Edge 0 ;\n'


def scene(edges: Sequence[Edge], creases: str = EMPTY_CREASES) -> str:
    """A scene with one mesh of these edges and this crease statement."""
    return ('//Maya ASCII 2024 scene\n//Name: scene.ma\n//Codeset: UTF-8\nrequires maya "2024";\n'
            'currentUnit -l centimeter -a degree -t film;\n'
            'createNode transform -n "mesh";\n'
            'createNode mesh -n "meshShape" -p "mesh";\n'
            '\tsetAttr -k off ".v";\n'
            + edge_list(edges)
            + '\tsetAttr -s 1 -ch 4 ".fc[0]" -type "polyFaces" \n\t\tf 4 0 1 2 3\n\t\tmu 0 4 0 1 3 2;\n'
            + creases
            + '\tsetAttr ".cvd" -type "dataPolyComponent" Index_Data Vertex 0 ;\n'
            'createNode lightLinker -s -n "lightLinker1";\n'
            '// End of scene.ma\n')


def scene_without_edges() -> str:
    """A scene with a mesh but neither an edge list nor a crease statement."""
    return scene([], creases="")


def creased_edges(scene_text: str) -> List[int]:
    """The edge numbers the scene's crease statement lists, each with the value 1000."""
    statement = re.search(r'setAttr "\.cd" -type "dataPolyComponent" Index_Data Edge (\d+)([^;]*);',
                          scene_text)
    assert statement, "no crease statement in the scene"
    numbers = [int(n) for n in statement.group(2).split()]
    assert numbers[1::2] == [1000] * (len(numbers) // 2)
    edges = numbers[0::2]
    assert len(edges) == int(statement.group(1))
    return edges


# Two quads side by side, each in its own group:
#   3---4---5
#   | L | R |
#   0---1---2
TWO_QUADS = ("v 0 0 0\nv 1 0 0\nv 2 0 0\nv 0 1 0\nv 1 1 0\nv 2 1 0\n"
             "g left\ns 1\nf 1 2 5 4\ng right\ns 1\nf 2 3 6 5\n")
# The scene lists the quads' seven edges, some in reverse vertex order, and
# one edge the mesh does not have.
TWO_QUADS_EDGES = [(0, 1), (4, 1), (1, 2), (0, 5), (3, 4), (3, 0), (2, 5), (5, 4)]
# Every edge is a crease: the shared edge where the groups meet and the
# open border around both quads.
TWO_QUADS_CREASES = [0, 1, 2, 4, 5, 6, 7]


def grid(columns: int, rows: int, band: int, smoothing: bool = False) -> Tuple[str, List[Edge]]:
    """A grid of quads in groups of `band` columns, and the scene edges of the grid.

    Returns the OBJ text and the grid's edges in the order a scene lists them.
    """
    def vertex(x: int, y: int) -> int:
        return y * (columns + 1) + x

    lines = ["v %d %d 0" % (x, y) for y in range(rows + 1) for x in range(columns + 1)]
    edges = {}  # type: Dict[Edge, None]
    for x0 in range(0, columns, band):
        lines.append(("s %d" if smoothing else "g band%d") % (x0 // band + 1))
        for y in range(rows):
            for x in range(x0, min(x0 + band, columns)):
                corners = [vertex(x, y), vertex(x + 1, y), vertex(x + 1, y + 1), vertex(x, y + 1)]
                lines.append("f " + " ".join(str(c + 1) for c in corners))
                for a, b in zip(corners, corners[1:] + corners[:1]):
                    edges.setdefault((min(a, b), max(a, b)), None)
    return "\n".join(lines) + "\n", list(edges)
