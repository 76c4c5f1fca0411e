#!/usr/bin/env python3
"""Writes the demo models shipped in data/Models (castle, station, bridge, ...),
the combos of data/Combos and the set files of data/Sets, all built from the
program's own stones, and the POV-Ray objects for their stone names into
data/Render/smBlocks.inc.

Usage: tools/make_models.py DATA_FOLDER STONEMILL
STONEMILL is a built program whose folder holds the part library; it renders
each model's picture (.jpg) and each combo's palette picture (.png).
"""

import math
import os
import re
import subprocess
import sys

M = 20  # units to a grid module
BRICK = 20  # a brick's height
PLATE = 6  # a plate's height (one third of a brick)

# Bounding boxes of the parts.dat shapes the models use (x, y, z in units).
PARTS = {
    "stdblock": (40, 20, 20), "arch": (80, 20, 60), "slope45": (40, 40, 20), "cylinder": (40, 40, 20),
    "cone": (40, 40, 40), "stair": (20, 60, 60), "beam3": (60, 20, 20), "sign": (40, 20, 20),
    "glasspane": (40, 4, 40),
    "brick1x1": (20, 20, 20), "brick1x2": (40, 20, 20), "brick1x3": (60, 20, 20), "brick1x4": (80, 20, 20),
    "brick1x6": (120, 20, 20), "brick1x8": (160, 20, 20), "brick2x2": (40, 40, 20), "brick2x4": (80, 40, 20),
    "plate1x1": (20, 20, 6), "plate1x2": (40, 20, 6), "plate1x4": (80, 20, 6), "plate2x2": (40, 40, 6),
    "plate2x4": (80, 40, 6), "plate4x4": (80, 80, 6),
    "slope45_1x2": (20, 40, 20), "slope45_4x2": (80, 40, 20), "slope30_2x3": (40, 60, 20),
    "slope65_2x2": (40, 40, 40),
    "invslope45": (40, 40, 20), "invslope45_1x2": (20, 40, 20), "invslope30_2x3": (40, 60, 20),
    "arch1x3": (60, 20, 20), "arch1x6": (120, 20, 40), "arch1x8": (160, 20, 60),
    "round1x1": (20, 20, 20), "roundplate2x2": (40, 40, 6), "cone1x1": (20, 20, 20), "dome2x2": (40, 40, 20),
    "cylinder4x4": (80, 80, 20), "quarterround": (40, 40, 20),
    "stair2x3": (40, 60, 60), "stair4": (20, 80, 80),
    "fence1x4": (80, 20, 20), "picket1x4": (80, 20, 20), "fence1x6": (120, 20, 20),
    "column1x1": (20, 20, 120), "pillar2x2": (40, 40, 120),
    "beam5": (100, 20, 20), "beam7": (140, 20, 20),
    "battlement": (40, 20, 20), "chimney": (40, 40, 60), "lamppost": (20, 20, 100), "flowerbox": (40, 20, 13),
    "brickwall": (80, 20, 20),
    "boiler": (80, 40, 40), "hull": (120, 60, 40), "sail": (20, 4, 120), "curvedroof": (80, 40, 13),
    "wedge": (40, 40, 20),
    "shopfront": (80, 20, 60), "clock": (40, 20, 40), "stationsign": (80, 4, 20), "poster": (40, 4, 40),
    "roadsign": (20, 20, 80), "nameplate": (40, 4, 13),
}


def rgb(r, g, b):
    return r + 256 * g + 65536 * b


GRASS = rgb(102, 150, 70)
WATER = rgb(60, 110, 190)
ROAD = rgb(120, 120, 120)
PAVING = rgb(190, 180, 160)
STONE = rgb(160, 160, 150)
DARK_STONE = rgb(110, 110, 105)
SAND = rgb(222, 200, 140)
RED_BRICK = rgb(178, 60, 40)
YELLOW_BRICK = rgb(232, 205, 120)
WHITE = rgb(245, 245, 240)
ROOF_RED = rgb(190, 70, 50)
ROOF_GREY = rgb(90, 95, 110)
WOOD = rgb(140, 90, 50)
DARK_WOOD = rgb(90, 60, 35)
GREEN = rgb(40, 130, 60)
DARK_GREEN = rgb(30, 90, 40)
BLACK = rgb(40, 40, 40)
WINDOW = rgb(170, 210, 240)
BLUE = rgb(40, 80, 170)
YELLOW = rgb(250, 210, 40)
ORANGE = rgb(230, 130, 40)

KIND_WORDS = {"B": "Block", "R": "Round", "T": "Roof", "N": "RoofTop", "C": "RoofCorner", "I": "RoofTopCorner",
              "E": "RoofTopEnd", "W": "Window", "D": "Door", "O": "Wheel"}
KIND_MACROS = {"B": "BoxStone", "R": "RoundStone", "T": "Roof", "N": "RoofTop", "C": "RoofCorner",
               "I": "RoofTopCorner", "E": "RoofTopEnd", "W": "WindowStone", "D": "DoorStone", "O": "WheelStone"}


class Model:
    """A model as stone lines; sizes are given unturned, positions are the
    minimum corner of the stone as placed."""

    def __init__(self):
        self.lines = []
        self.extents = None
        self.group = self.groups = 0

    def _grow(self, x, y, z, l, w, h):
        box = (x, y, z, x + l, y + w, z + h)
        if self.extents is None:
            self.extents = box
        else:
            e = self.extents
            self.extents = (min(e[0], box[0]), min(e[1], box[1]), min(e[2], box[2]),
                            max(e[3], box[3]), max(e[4], box[4]), max(e[5], box[5]))

    def stone(self, kind, x, y, z, l, w, h, color, turn=0, transparent=0, base=0, name=None):
        pl, pw = (w, l) if turn % 2 else (l, w)
        # A stone's name is also its POV-Ray object, so it carries its size.
        name = "%s_%dx%dx%d" % (name or KIND_WORDS[kind], l, w, h)
        self._grow(x, y, z, pl, pw, h)
        self.lines.append("%s %d %d %d %d %d %d %d 1 %d %d %d %d %s 0" % (
            kind, x, y, z, pl, pw, h, color, base, turn, transparent, self.group, name))

    def part(self, name, x, y, z, color, turn=0, transparent=0):
        # The viewer of the saved view looks from +y, the side the picture
        # parts show their pictures on.
        l, w, h = PARTS[name]
        pl, pw = (w, l) if turn % 2 else (l, w)
        self._grow(x, y, z, pl, pw, h)
        self.lines.append("G %d %d %d %d %d %d %d 1 0 %d %d parts.dat %s %d %s 0" % (
            x, y, z, pl, pw, h, color, turn, transparent, name, self.group, name))

    def grouped(self, build):
        """Builds a group of stones that the user lifts and moves as one."""
        self.groups += 1
        self.group = self.groups
        build()
        self.group = 0

    # Building helpers.
    def base(self, x, y, l, w, color, z=0, h=PLATE, name="ground"):
        self.stone("B", x, y, z, l, w, h, color, base=1, name=name)

    def box(self, x, y, z, l, w, h, color, **kw):
        self.stone("B", x, y, z, l, w, h, color, **kw)

    def wall_x(self, x0, x1, y, z, rows, color, holes=(), width=M):
        """Bricks along x from x0 to x1 at y, `rows` bricks high, staggered,
        leaving out the spans (xa, xb, za, zb) in holes."""
        self._wall(lambda a, zz, length: self.box(a, y, zz, length, width, BRICK, color), x0, x1, z, rows, holes, 1)

    def wall_y(self, y0, y1, x, z, rows, color, holes=(), width=M):
        """Bricks along y; holes are (ya, yb, za, zb). Its rows are staggered
        the other way from wall_x's, so that corners interlock."""
        self._wall(lambda a, zz, length: self.box(x, a, zz, width, length, BRICK, color), y0, y1, z, rows, holes, 0)

    def _wall(self, lay, a0, a1, z, rows, holes, half_rows):
        for r in range(rows):
            zz = z + r * BRICK
            a = a0
            first = True
            while a < a1:
                length = min(20 if first and r % 2 == half_rows else 40, a1 - a)
                first = False
                if any(ha <= a < hb and za <= zz < zb for ha, hb, za, zb in holes):
                    a += 20
                    continue
                cut = [ha for ha, hb, za, zb in holes if a < ha < a + length and za <= zz < zb]
                if cut:
                    length = min(cut) - a
                lay(a, zz, length)
                a += length

    def gable_roof_x(self, x0, x1, y0, depth, z, color, ends=True):
        """A roof with its ridge along x over y0..y0+depth (depth 80 or 120)."""
        half = depth // 2
        steps = half // 40
        for s in range(steps):
            zz = z + s * BRICK
            for x in range(x0, x1, 40):
                l = min(40, x1 - x)
                self.stone("T", x, y0 + depth - 40 - s * 40, zz, l, 40, BRICK, color, turn=0)
                self.stone("T", x, y0 + s * 40, zz, l, 40, BRICK, color, turn=2)
        if half % 40:
            zz = z + steps * BRICK
            for x in range(x0, x1, 40):
                self.stone("N", x, y0 + steps * 40, zz, min(40, x1 - x), 40, BRICK, color)

    def write(self, path, tilt=70, turn=330, zoom_code=None, size=(760, 560)):
        view = view_line(self.extents, tilt, turn, zoom_code, size)
        with open(path, "w", newline="") as f:
            f.write(view + "\r\n")
            for line in self.lines:
                f.write(line + "\r\n")


def view_line(e, tilt, turn, zoom_code, size):
    """The saved view: the given angles, the model centred, and a zoom at
    which the whole model fits a view of the given size."""
    ax, t = math.radians(tilt), math.radians(turn)
    r0, r1 = math.cos(t), math.sin(t)
    r3, r4, r5 = math.sin(t) * math.cos(ax), -math.cos(t) * math.cos(ax), math.sin(ax)
    xs, ys = [], []
    for cx in (e[0], e[3]):
        for cy in (e[1], e[4]):
            for cz in (e[2], e[5]):
                xs.append(r0 * cx + r1 * cy)
                ys.append(r3 * cx + r4 * cy + r5 * cz)
    if zoom_code is None:
        s = 0.9 * min(size[0] / (max(xs) - min(xs)), size[1] / (max(ys) - min(ys)))
        zoom_code = max(1, math.ceil(10 / s))
    s = 10 / zoom_code
    cx, cy, cz = (e[0] + e[3]) // 2, (e[1] + e[4]) // 2, (e[2] + e[5]) // 2
    ox = round(s * (r0 * cx + r1 * cy))
    oy = round(-s * (r3 * cx + r4 * cy + r5 * cz))
    return "= %d %d %d %d %d 0 1" % (tilt, turn, zoom_code, ox, oy)


def battlements_x(m, x0, x1, y, z, color):
    for x in range(x0, x1, 40):
        m.part("battlement", x, y, z, color)


def battlements_y(m, y0, y1, x, z, color):
    for y in range(y0, y1, 40):
        m.part("battlement", x, y, z, color, turn=1)


def round_tower(m, x, y, z, floors, color, roof=ROOF_RED, size=80):
    for f in range(floors):
        m.stone("R", x, y, z + f * BRICK, size, size, BRICK, color)
    top = z + floors * BRICK
    if size == 80:
        m.part("cylinder4x4", x, y, top, DARK_STONE)
        m.stone("R", x + 10, y + 10, top + BRICK, 60, 60, PLATE, DARK_STONE)
        m.part("cone", x + 20, y + 20, top + BRICK + PLATE, roof)
    else:
        m.part("cone", x + (size - 40) // 2, y + (size - 40) // 2, top, roof)
    return top


def tree(m, x, y, z, height=2):
    m.grouped(lambda: _tree(m, x, y, z, height))


def _tree(m, x, y, z, height):
    m.stone("R", x + 10, y + 10, z, 20, 20, BRICK * height, DARK_WOOD)
    m.part("cylinder", x, y, z + BRICK * height, GREEN)
    m.part("cone", x, y, z + BRICK * (height + 1), DARK_GREEN)


def castle():
    m = Model()
    m.base(-120, -120, 560, 560, WATER, name="moat")
    for x, y, l, w in ((-120, -120, 560, 60), (-120, 380, 560, 60), (-120, -60, 60, 440), (380, -60, 60, 440)):
        m.box(x, y, PLATE, l, w, PLATE, GRASS, name="bank")
    m.box(-20, -20, PLATE, 360, 360, PLATE, GRASS, name="island")
    z = 2 * PLATE
    # Corner towers and the curtain walls between them.
    for tx, ty in ((0, 0), (240, 0), (0, 240), (240, 240)):
        round_tower(m, tx, ty, z, 7, STONE)
    m.wall_x(80, 240, 20, z, 5, STONE)
    battlements_x(m, 80, 240, 20, z + 5 * BRICK, STONE)
    m.wall_y(80, 240, 20, z, 5, STONE)
    battlements_y(m, 80, 240, 20, z + 5 * BRICK, STONE)
    m.wall_y(80, 240, 300, z, 5, STONE)
    battlements_y(m, 80, 240, 300, z + 5 * BRICK, STONE)
    # The front wall with its gate and a wooden drawbridge over the moat.
    gate = (120, 200, 0, 80)
    m.wall_x(80, 240, 300, z, 4, STONE, holes=[gate])
    m.stone("D", 120, 300, z, 80, 20, 80, DARK_WOOD)
    m.wall_x(80, 240, 300, z + 4 * BRICK, 1, STONE)
    battlements_x(m, 80, 240, 300, z + 5 * BRICK, STONE)
    m.box(120, 320, z - PLATE, 80, 120, PLATE, WOOD, name="drawbridge")
    # The keep: four storeys with windows, battlements and a watch tower.
    kx, ky = 100, 100
    door = (kx + 40, kx + 80, z, z + 60)
    windows = [(kx + 40, kx + 80, z + 80, z + 120), (kx + 40, kx + 80, z + 120, z + 160)]
    m.wall_x(kx, kx + 120, ky + 100, z, 8, DARK_STONE, holes=[door] + windows)
    m.wall_x(kx, kx + 120, ky, z, 8, DARK_STONE)
    m.wall_y(ky + 20, ky + 100, kx, z, 8, DARK_STONE)
    side_windows = [(ky + 40, ky + 80, z + 40 + 40 * i, z + 80 + 40 * i) for i in range(3)]
    m.wall_y(ky + 20, ky + 100, kx + 100, z, 8, DARK_STONE, holes=side_windows)
    for xa, xb, za, zb in windows:
        m.stone("W", xa, ky + 100, za, 40, 20, 40, WINDOW)
    for ya, yb, za, zb in side_windows:
        m.stone("W", kx + 100, ya, za, 40, 20, 40, WINDOW, turn=1)
    m.stone("D", kx + 40, ky + 100, z, 40, 20, 60, DARK_WOOD)
    top = z + 8 * BRICK
    m.box(kx, ky, top, 120, 120, PLATE, DARK_STONE, name="keep_floor")
    battlements_x(m, kx, kx + 120, ky, top + PLATE, DARK_STONE)
    battlements_x(m, kx, kx + 120, ky + 100, top + PLATE, DARK_STONE)
    round_tower(m, kx + 40, ky + 40, top + PLATE, 3, DARK_STONE, size=40)
    # The courtyard: a well, stairs up to the wall walk and two trees.
    m.stone("R", 40, 200, z, 40, 40, BRICK, STONE, name="well")
    m.stone("R", 50, 210, z + BRICK, 20, 20, PLATE, WATER, name="well_water")
    m.part("stair", 220, 100, z, STONE)
    tree(m, 60, 120, z)
    tree(m, 200, 200, z, 3)
    m.write_to = "castle"
    return m



def house(m, x, y, z, length, depth, floors, wall, roof, door_at=None, windows=(), chimney=True, shop=False):
    """A house along x: walls with windows and a door at the front (y max),
    a gable roof with its ridge along x, and a chimney."""
    front = y + depth - 20
    rows = floors * 3
    holes, stones = [], []
    if shop:
        holes.append((x + 20, x + 100, z, z + 60))
        stones.append(("G", "shopfront", x + 20, front, z))
    if door_at is not None:
        holes.append((x + door_at, x + door_at + 40, z, z + 60))
        stones.append(("D", x + door_at, front, z, 40, 20, 60))
    for f in range(floors):
        for wx in windows:
            if f == 0 and (shop and wx < 100 or door_at is not None and door_at - 20 < wx < door_at + 40):
                continue
            holes.append((x + wx, x + wx + 40, z + f * 60 + 20, z + f * 60 + 60))
            stones.append(("W", x + wx, front, z + f * 60 + 20, 40, 20, 40))
    m.wall_x(x, x + length, front, z, rows, wall, holes=holes)
    m.wall_x(x, x + length, y, z, rows, wall)
    m.wall_y(y + 20, front, x, z, rows, wall)
    m.wall_y(y + 20, front, x + length - 20, z, rows, wall)
    for st in stones:
        if st[0] == "G":
            m.part(st[1], st[2], st[3], st[4], WHITE)
        else:
            m.stone(st[0], st[1], st[2], st[3], st[4], st[5], st[6], WINDOW if st[0] == "W" else DARK_WOOD)
    top = z + rows * BRICK
    m.gable_roof_x(x, x + length, y, depth, top, roof)
    if chimney:
        m.part("chimney", x + length - 60, y + 20, top, RED_BRICK)
    return top


def rails(m, x0, x1, y, z):
    """A track along x: sleepers under two rails."""
    for x in range(x0, x1, 20):
        m.box(x, y, z, 10, 40, 3, DARK_WOOD, name="sleeper")
    m.box(x0, y + 6, z + 3, x1 - x0, 4, 3, BLACK, name="rail")
    m.box(x0, y + 30, z + 3, x1 - x0, 4, 3, BLACK, name="rail")


def locomotive(m, x, y, z):
    m.grouped(lambda: _locomotive(m, x, y, z))


def _locomotive(m, x, y, z):
    m.box(x, y, z, 200, 40, PLATE, BLACK, name="frame")
    m.part("boiler", x + 60, y, z + PLATE, rgb(30, 90, 50))
    m.part("boiler", x + 140, y, z + PLATE, rgb(30, 90, 50))
    m.part("round1x1", x + 170, y + 10, z + PLATE + 40, BLACK)
    m.part("cone1x1", x + 170, y + 10, z + PLATE + 60, BLACK)
    m.part("dome2x2", x + 100, y, z + PLATE + 40, YELLOW)
    m.box(x, y, z + PLATE, 60, 40, 20, rgb(30, 90, 50), name="cab_base")
    m.stone("W", x + 10, y, z + PLATE + 20, 40, 20, 40, WINDOW)
    m.stone("W", x + 10, y + 20, z + PLATE + 20, 40, 20, 40, WINDOW)
    m.box(x, y, z + PLATE + 20, 10, 40, 40, rgb(30, 90, 50), name="cab_post")
    m.box(x + 50, y, z + PLATE + 20, 10, 40, 40, rgb(30, 90, 50), name="cab_post")
    m.part("curvedroof", x - 10, y, z + PLATE + 60, BLACK, turn=0)
    m.part("nameplate", x + 80, y + 40, z + PLATE + 10, YELLOW)
    m.part("wedge", x + 200, y, z, RED_BRICK)
    for wx in (20, 80, 140):
        m.stone("O", x + wx, y - 20, z - 28, 40, 20, 40, BLACK)
        m.stone("O", x + wx, y + 40, z - 28, 40, 20, 40, BLACK)


def carriage(m, x, y, z, color):
    m.grouped(lambda: _carriage(m, x, y, z, color))


def _carriage(m, x, y, z, color):
    m.box(x, y, z, 160, 40, PLATE, BLACK, name="frame")
    m.box(x, y, z + PLATE, 160, 40, 20, color, name="carriage_side")
    for wx in range(0, 160, 40):
        m.stone("W", x + wx, y + 20, z + PLATE + 20, 40, 20, 40, WINDOW)
        m.stone("W", x + wx, y, z + PLATE + 20, 40, 20, 40, WINDOW)
    m.part("curvedroof", x, y, z + PLATE + 60, ROOF_GREY)
    m.part("curvedroof", x + 80, y, z + PLATE + 60, ROOF_GREY)
    for wx in (20, 100):
        m.stone("O", x + wx, y - 20, z - 28, 40, 20, 40, BLACK)
        m.stone("O", x + wx, y + 40, z - 28, 40, 20, 40, BLACK)


def station():
    m = Model()
    m.base(-40, -40, 720, 260, GRASS)
    z = PLATE
    # The platform with its building, clock, name board, benches and lamps.
    m.box(0, 0, z, 640, 120, 13, PAVING, name="platform")
    pz = z + 13
    top = house(m, 200, 0, pz, 240, 80, 1, YELLOW_BRICK, ROOF_RED, door_at=100, windows=(20, 180), chimney=True)
    m.part("stationsign", 280, 80, top - 20, WHITE)
    m.part("column1x1", 470, 80, pz, DARK_STONE)
    m.part("clock", 460, 70, pz + 120, WHITE)
    for lx in (40, 560):
        m.part("lamppost", lx, 100, pz, BLACK)
    for bx in (100, 480):
        m.box(bx, 90, pz, 60, 20, 6, WOOD, name="bench")
        m.part("plate1x2", bx + 10, 90, pz + 6, WOOD)
    m.part("roadsign", 620, 100, pz, rgb(200, 200, 200))
    # The track beside the platform and a train on it.
    rails(m, -40, 680, 140, z)
    railtop = z + 6
    locomotive(m, 220, 140, railtop + 15)
    carriage(m, 40, 140, railtop + 15, rgb(140, 30, 30))
    m.part("poster", 160, 80, pz + 10, WHITE)
    return m


def bridge():
    m = Model()
    m.base(-60, -100, 600, 360, GRASS)
    z = PLATE
    return m



def bridge():
    """A stone bridge of two arches over a river, with railings and lamps."""
    m = Model()
    m.base(-100, -60, 560, 320, WATER, name="river")
    z = PLATE
    m.box(-100, -60, z, 120, 320, 3 * BRICK, GRASS, name="bank")
    m.box(340, -60, z, 120, 320, 3 * BRICK, GRASS, name="bank")
    for ax in (20, 180):
        for y in range(60, 140, 20):
            m.part("arch1x8", ax, y, z, STONE)
    deck = z + 3 * BRICK
    m.box(-100, 60, deck, 560, 80, PLATE, ROAD, name="road")
    deck += PLATE
    for x in (0, 120, 240):
        m.part("fence1x6", x + 40, 40, deck, WHITE)
        m.part("fence1x6", x + 40, 140, deck, WHITE)
    m.part("lamppost", 20, 140, deck, BLACK)
    m.part("lamppost", 320, 40, deck, BLACK)
    m.part("roadsign", 380, 140, deck, WHITE)
    tree(m, -80, -40, deck - PLATE)
    tree(m, 380, 200, deck - PLATE, 3)
    # A rowing boat downstream of the bridge.
    m.part("hull", 120, 180, z, WOOD)
    m.box(160, 190, z + 20, 40, 40, PLATE, DARK_WOOD, name="seat")
    return m


def boat(m, x, y, z, color):
    """A fishing boat with its bow toward +x: hull, deck house and mast."""
    m.grouped(lambda: _boat(m, x, y, z, color))


def _boat(m, x, y, z, color):
    m.part("hull", x, y, z, color)
    m.box(x + 20, y + 10, z + 40, 40, 40, BRICK, WHITE, name="deck_house")
    m.stone("T", x + 20, y + 10, z + 60, 40, 40, BRICK, ROOF_GREY, turn=3)
    m.part("column1x1", x + 80, y + 20, z + 40, WOOD)


def harbour():
    """A quay with a warehouse, a crane, bollards and two boats."""
    m = Model()
    m.base(-40, -40, 560, 400, WATER, name="sea")
    z = PLATE
    m.box(-40, -40, z, 560, 160, 2 * BRICK, STONE, name="quay")
    q = z + 2 * BRICK
    for x in range(0, 520, 80):
        m.part("plate1x1", x, 100, q, DARK_STONE)
        m.part("round1x1", x, 100, q + PLATE, BLACK)
    house(m, 0, -40, q, 200, 120, 2, RED_BRICK, ROOF_GREY, door_at=80, windows=(20, 140), chimney=False)
    # A crane: a pillar, a beam that turns about its middle and a hook.
    m.part("pillar2x2", 300, 40, q, YELLOW)
    m.part("beam7", 260, 50, q + 120, YELLOW)
    m.box(380, 55, q + 60, 10, 10, 60, BLACK, name="rope")
    m.box(370, 50, q + 40, 30, 20, 20, ORANGE, name="crate")
    m.part("plate2x2", 240, 60, q, WOOD)
    m.part("brick2x2", 240, 60, q + PLATE, ORANGE)
    m.part("brick2x2", 240, 60, q + PLATE + BRICK, ORANGE)
    m.part("plate4x4", 390, -20, q, WOOD)
    m.part("brick2x4", 390, -20, q + PLATE, BLUE, turn=1)
    m.part("brick1x4", 430, -20, q + PLATE, RED_BRICK, turn=1)
    m.part("brick1x1", 450, 20, q + PLATE + BRICK, YELLOW)
    m.part("lamppost", 460, 80, q, BLACK)
    boat(m, 40, 160, z, BLUE)
    boat(m, 280, 200, z, RED_BRICK)
    return m



def village():
    """A village street: three houses, a shop, a garden fence, lamps and trees."""
    m = Model()
    m.base(-40, -60, 760, 360, GRASS)
    z = PLATE
    m.box(-40, 120, z, 760, 80, 3, ROAD, name="street")
    m.box(-40, 90, z, 760, 30, 3, PAVING, name="pavement")
    z2 = z
    house(m, 0, 0, z2, 160, 80, 2, WHITE, ROOF_RED, door_at=60, windows=(20, 100))
    house(m, 200, 0, z2, 200, 80, 1, YELLOW_BRICK, ROOF_GREY, door_at=140, windows=(), shop=True)
    house(m, 440, 0, z2, 160, 80, 2, RED_BRICK, ROOF_RED, door_at=20, windows=(80,))
    for x in (20, 100):
        m.part("flowerbox", x, 80, z2 + 20 + 60 - 13, WOOD, turn=2)
    m.part("poster", 620, 70, z + 3, WHITE)
    for lx in (180, 420):
        m.part("lamppost", lx, 95, z + 3, BLACK)
    m.part("roadsign", 680, 95, z + 3, WHITE)
    # Gardens across the street, fenced, with trees and a bench.
    for x in range(0, 640, 80):
        m.part("picket1x4", x, 220, z, WHITE)
    tree(m, 60, 240, z, 3)
    tree(m, 300, 250, z, 2)
    tree(m, 520, 240, z, 3)
    m.box(160, 250, z, 60, 20, 8, WOOD, name="bench")
    return m


def windmill():
    """A round windmill on a hill with its four sails, a miller's house and a fence."""
    m = Model()
    m.base(-120, -120, 480, 440, GRASS)
    z = PLATE
    m.stone("R", -40, -40, z, 160, 160, 13, GRASS, name="hill")
    z += 13
    for f in range(6):
        m.stone("R", 0, 0, z + f * BRICK, 80, 80, BRICK, WHITE)
    m.stone("D", 0, 20, z, 40, 20, 60, DARK_WOOD, turn=1)
    top = z + 6 * BRICK
    m.part("cylinder4x4", 0, 0, top, WOOD)
    m.part("dome2x2", 20, 20, top + BRICK, ROOF_GREY)
    # Four sails about a hub at the front of the cap: two upright sails and
    # two arms across.
    hub_y, hub_z = 80, top + 10
    m.part("sail", 30, hub_y, hub_z, WHITE)
    m.part("sail", 30, hub_y, hub_z - 120, WHITE)
    m.box(-80, hub_y, hub_z - 10, 110, 4, 20, WHITE, name="sail_arm")
    m.box(50, hub_y, hub_z - 10, 110, 4, 20, WHITE, name="sail_arm")
    m.stone("R", 30, hub_y + 4, hub_z - 10, 20, 20, 20, DARK_WOOD, name="hub")
    # The miller's house and a fenced field.
    house(m, 160, 120, PLATE, 120, 80, 1, WHITE, ROOF_RED, door_at=40, windows=(), chimney=True)
    for y in range(-120, 120, 80):
        m.part("fence1x4", 280, y, PLATE, WOOD, turn=1)
    tree(m, -100, 200, PLATE, 3)
    return m



def lighthouse():
    """A striped lighthouse on a rocky point with the keeper's cottage."""
    m = Model()
    m.base(-160, -160, 520, 480, WATER, name="sea")
    z = PLATE
    m.stone("R", -120, -120, z, 320, 320, BRICK, DARK_STONE, name="rock")
    m.stone("R", -80, -80, z + BRICK, 240, 240, BRICK, STONE, name="rock")
    z += 2 * BRICK
    for f in range(10):
        m.stone("R", 0, 0, z + f * BRICK, 80, 80, BRICK, WHITE if f % 4 < 2 else RED_BRICK)
    m.stone("D", 20, 60, z, 40, 20, 60, DARK_WOOD)
    top = z + 10 * BRICK
    m.stone("R", -10, -10, top, 100, 100, PLATE, BLACK, name="gallery")
    top += PLATE
    for x, y, turn in ((20, 20, 0), (20, 56, 0), (20, 20, 1), (56, 20, 1)):
        m.part("glasspane", x, y, top, WINDOW, turn=turn)
    m.part("dome2x2", 20, 20, top + 40, RED_BRICK)
    m.part("cone1x1", 30, 30, top + 60, BLACK)
    # The keeper's cottage with a hipped roof of corner stones.
    cx, cy = 100, 100
    m.wall_x(cx, cx + 80, cy + 60, z, 3, WHITE, holes=[(cx + 20, cx + 60, z, z + 60)])
    m.stone("D", cx + 20, cy + 60, z, 40, 20, 60, BLUE)
    m.wall_x(cx, cx + 80, cy, z, 3, WHITE)
    m.wall_y(cy + 20, cy + 60, cx, z, 3, WHITE)
    m.wall_y(cy + 20, cy + 60, cx + 60, z, 3, WHITE, holes=[(cy + 20, cy + 60, z + 20, z + 60)])
    m.stone("W", cx + 60, cy + 20, z + 20, 40, 20, 40, WINDOW, turn=1)
    rz = z + 3 * BRICK
    m.stone("C", cx, cy, rz, 40, 40, BRICK, ROOF_GREY, turn=2)
    m.stone("C", cx + 40, cy, rz, 40, 40, BRICK, ROOF_GREY, turn=3)
    m.stone("C", cx + 40, cy + 40, rz, 40, 40, BRICK, ROOF_GREY, turn=0)
    m.stone("C", cx, cy + 40, rz, 40, 40, BRICK, ROOF_GREY, turn=1)
    return m


def church():
    """A village church: a nave with tall windows, a tower with a clock and a
    spire, and a churchyard fence."""
    m = Model()
    m.base(-80, -80, 520, 360, GRASS)
    z = PLATE
    nx, ny = 120, 0
    holes = [(nx + x, nx + x + 40, z + 20, z + 80) for x in (40, 120, 200)]
    m.wall_x(nx, nx + 280, ny + 100, z, 6, STONE, holes=holes)
    for xa, xb, za, zb in holes:
        m.stone("W", xa, ny + 100, za, 40, 20, 60, WINDOW)
    m.wall_x(nx, nx + 280, ny, z, 6, STONE)
    m.wall_y(ny + 20, ny + 100, nx + 260, z, 6, STONE)
    m.gable_roof_x(nx, nx + 280, ny, 120, z + 6 * BRICK, ROOF_GREY)
    # The tower at the west end, the door at its foot.
    tx, ty = 0, 0
    door = (tx + 40, tx + 80, z, z + 60)
    m.wall_x(tx, tx + 120, ty + 100, z, 12, STONE, holes=[door, (tx + 40, tx + 80, z + 160, z + 200)])
    m.stone("D", tx + 40, ty + 100, z, 40, 20, 60, DARK_WOOD)
    m.part("arch1x3", tx + 30, ty + 100, z + 60, STONE)
    m.part("clock", tx + 40, ty + 100, z + 160, WHITE)
    m.wall_x(tx, tx + 120, ty, z, 12, STONE)
    m.wall_y(ty + 20, ty + 100, tx, z, 12, STONE)
    m.wall_y(ty + 20, ty + 100, tx + 100, z, 12, STONE)
    top = z + 12 * BRICK
    m.box(tx, ty, top, 120, 120, PLATE, DARK_STONE, name="tower_floor")
    top += PLATE
    for (x, y, t) in ((tx, ty, 2), (tx + 80, ty, 3), (tx + 80, ty + 80, 0), (tx, ty + 80, 1)):
        m.stone("I", x, y, top, 40, 40, BRICK, ROOF_GREY, turn=t)
    for (x, y, t) in ((tx + 40, ty, 2), (tx + 80, ty + 40, 3), (tx + 40, ty + 80, 0), (tx, ty + 40, 1)):
        m.stone("T", x, y, top, 40, 40, BRICK, ROOF_GREY, turn=t)
    m.part("cone", tx + 40, ty + 40, top, ROOF_GREY)
    m.part("cone1x1", tx + 50, ty + 50, top + 40, YELLOW)
    # Two columns by the door and the churchyard fence.
    m.part("column1x1", tx + 10, ty + 130, z, WHITE)
    m.part("column1x1", tx + 90, ty + 130, z, WHITE)
    for x in range(160, 400, 80):
        m.part("fence1x4", x, 240, z, BLACK)
    tree(m, 420, 120, z, 3)
    # The lychgate: a wide arch on two brick piers, with a little roof.
    for px in (40, 140):
        m.part("brick1x1", px, 240, z, STONE)
        m.part("brick1x1", px, 240, z + BRICK, STONE)
    m.part("arch1x6", 40, 240, z + 2 * BRICK, STONE)
    m.part("slope45_1x2", 40, 220, z + 4 * BRICK, ROOF_GREY)
    for x in range(60, 160, 20):
        m.part("slope45_1x2", x, 220, z + 4 * BRICK, ROOF_GREY)
    return m


def farm():
    """A farm: a red barn with a hipped roof, a tractor with a trailer, a
    fenced paddock and trees."""
    m = Model()
    m.base(-80, -80, 640, 440, GRASS)
    z = PLATE
    bx, by = 0, 0
    gate = (bx + 40, bx + 120, z, z + 80)
    m.wall_x(bx, bx + 160, by + 100, z, 5, RED_BRICK, holes=[gate])
    m.stone("D", bx + 40, by + 100, z, 80, 20, 80, WHITE)
    m.wall_x(bx, bx + 160, by, z, 5, RED_BRICK)
    m.wall_y(by + 20, by + 100, bx, z, 5, RED_BRICK)
    m.wall_y(by + 20, by + 100, bx + 140, z, 5, RED_BRICK)
    rz = z + 5 * BRICK
    for x in range(bx, bx + 160, 40):
        m.stone("T", x, by + 60, rz, 40, 60, BRICK, ROOF_GREY, turn=0)
        m.stone("T", x, by, rz, 40, 60, BRICK, ROOF_GREY, turn=2)
    # The tractor: big wheels at the back, small ones at the front.
    tx, ty = 240, 180
    m.box(tx, ty, z + 20, 120, 40, 20, GREEN, name="tractor_body")
    m.part("wedge", tx + 120, ty, z + 20, GREEN)
    m.box(tx + 10, ty, z + 40, 40, 40, 40, GREEN, name="tractor_cab")
    m.box(tx + 5, ty - 5, z + 80, 50, 50, PLATE, BLACK, name="tractor_roof")
    m.stone("O", tx, ty - 40, z - 20, 80, 40, 80, BLACK)
    m.stone("O", tx, ty + 40, z - 20, 80, 40, 80, BLACK)
    m.stone("O", tx + 100, ty - 20, z - 13, 40, 20, 40, BLACK)
    m.stone("O", tx + 100, ty + 40, z - 13, 40, 20, 40, BLACK)
    m.part("round1x1", tx + 110, ty + 10, z + 40, BLACK)
    # The trailer with hay bales.
    m.box(80, ty, z + 20, 120, 40, PLATE, WOOD, name="trailer")
    m.stone("O", 120, ty - 20, z - 13, 40, 20, 40, BLACK)
    m.stone("O", 120, ty + 40, z - 13, 40, 20, 40, BLACK)
    for x in (80, 120, 160):
        m.stone("R", x, ty, z + 20 + PLATE, 40, 40, BRICK, YELLOW, name="hay")
    # A paddock fenced on three sides.
    for x in range(240, 480, 80):
        m.part("fence1x4", x, -60, z, WOOD)
    for y in range(-40, 120, 80):
        m.part("fence1x4", 460, y, z, WOOD, turn=1)
    tree(m, 500, 240, z, 3)
    # A silo of tower rings with a dome, a brick wall behind the barn, a
    # trough and a rounded hedge.
    for f in range(4):
        m.part("cylinder4x4", 170, -40, z + f * BRICK, WHITE)
    m.stone("R", 170, -40, z + 4 * BRICK, 80, 80, PLATE, ROOF_GREY, name="silo_lid")
    m.part("dome2x2", 190, -20, z + 4 * BRICK + PLATE, ROOF_GREY)
    for x in (0, 80):
        m.part("brickwall", x, -60, z, RED_BRICK)
    m.part("brick1x4", 300, 120, z, STONE)
    m.part("plate1x4", 300, 120, z + BRICK, WATER)
    m.part("quarterround", -40, 260, z, DARK_GREEN, turn=3)
    m.part("brick1x6", 0, 280, z, DARK_GREEN)
    m.part("brick1x8", -40, 120, z, DARK_GREEN, turn=1)
    tree(m, -60, 240, z, 2)
    return m


def square():
    """A town square: a fountain, a colonnade, market stalls, a clock pillar,
    steps up to a terrace with a shop."""
    m = Model()
    m.base(-40, -40, 560, 480, PAVING)
    z = PLATE
    # The fountain: a round basin with water and a column in it.
    m.stone("R", 160, 200, z, 120, 120, BRICK, STONE, name="basin")
    m.stone("R", 170, 210, z + BRICK, 100, 100, 3, WATER, name="fountain_water")
    m.part("roundplate2x2", 200, 240, z + BRICK, STONE)
    m.part("column1x1", 210, 250, z + BRICK + PLATE, WHITE)
    m.part("dome2x2", 200, 240, z + BRICK + PLATE + 120, STONE)
    # A terrace at the back with steps and a shop.
    m.box(0, 0, z, 480, 120, 3 * BRICK, STONE, name="terrace")
    t = z + 3 * BRICK
    for x in (200,):
        m.part("stair2x3", x, 120, z, STONE, turn=2)
        m.part("stair2x3", x + 40, 120, z, STONE, turn=2)
    house(m, 240, 0, t, 200, 80, 1, YELLOW_BRICK, ROOF_RED, door_at=140, windows=(), shop=True)
    for x in (0, 80, 160):
        m.part("pillar2x2", x, 80, t, WHITE)
    m.part("beam5", 0, 80, t + 120, WHITE)
    m.part("beam5", 100, 80, t + 120, WHITE)
    m.part("slope45_4x2", 0, 60, t + 140, ROOF_RED, turn=2)
    m.part("slope45_4x2", 80, 60, t + 140, ROOF_RED, turn=2)
    m.part("slope45_4x2", 160, 60, t + 140, ROOF_RED, turn=2)
    # Market stalls with striped awnings.
    for i, x in enumerate((20, 340)):
        m.box(x, 320, z, 80, 40, BRICK, WOOD, name="stall")
        for px in (x, x + 60):
            m.box(px, 320, z + BRICK, 20, 20, 40, WOOD, name="stall_post")
        m.part("slope30_2x3", x, 300, z + 60, RED_BRICK if i else BLUE, turn=2)
        m.part("slope30_2x3", x + 40, 300, z + 60, WHITE, turn=2)
        for fx in (x + 10, x + 40):
            m.part("round1x1", fx, 330, z + BRICK, ORANGE if fx == x + 10 else GREEN)
    # The clock pillar, benches, lamps and trees.
    m.part("pillar2x2", 420, 220, z, STONE)
    m.part("clock", 420, 230, z + 120, WHITE)
    for bx in (60, 360):
        m.part("plate2x4", bx, 200, z + 13, WOOD)
        m.box(bx, 210, z, 20, 20, 13, STONE, name="bench_leg")
        m.box(bx + 60, 210, z, 20, 20, 13, STONE, name="bench_leg")
    for lx in (120, 320):
        m.part("lamppost", lx, 400, z, BLACK)
    tree(m, -20, 380, z, 3)
    # A ledge on inverted slopes along the terrace's front.
    for x in (0, 80):
        m.part("invslope45", x, 120, t - BRICK, STONE, turn=2)
        m.part("invslope45_1x2", x + 40, 120, t - BRICK, STONE, turn=2)
        m.part("invslope45_1x2", x + 60, 120, t - BRICK, STONE, turn=2)
        m.part("plate2x4", x, 120, t, STONE)
    tree(m, 460, 380, z, 2)
    return m



def cottage():
    """A combo: a small house with a door, two windows and a chimney."""
    m = Model()
    house(m, 0, 0, 0, 160, 80, 1, WHITE, ROOF_RED, door_at=60, windows=(20, 100), chimney=True)
    return m


def locomotive_combo():
    """A combo: the steam locomotive of the station, on its wheels."""
    m = Model()
    locomotive(m, 0, 0, 15)
    return m


# Set files: the stones of a kit, by their palette captions, with counts.
SETS = {
    "castle": [("2x4x3", 60), ("1x2x3", 40), ("1x4x3", 20), ("R4x4x3", 28), ("R2x2x3", 6), ("D4x1x12", 1),
               ("D2x1x9", 1), ("W2x1x6", 6), ("battlement", 24), ("cone", 6), ("cylinder4x4", 4),
               ("stair", 2), ("4x8x1", 4)],
    "railway": [("boiler", 2), ("curvedroof", 4), ("nameplate", 1), ("wedge", 1), ("O2x1x6", 14),
                ("W2x1x6", 10), ("stationsign", 1), ("clock", 1), ("lamppost", 2), ("2x4x3", 20),
                ("1x2x3", 20), ("T2x2x3", 12), ("2x8x1", 6)],
    "village": [("1x2x3", 80), ("1x4x3", 30), ("T2x2x3", 24), ("N2x2x3", 6), ("W2x1x6", 10), ("D2x1x9", 4),
                ("shopfront", 1), ("chimney", 3), ("flowerbox", 2), ("picket1x4", 8), ("lamppost", 3),
                ("roadsign", 1), ("poster", 1)],
}

MODELS = [castle, station, bridge, harbour, village, windmill, lighthouse, church, farm, square]
COMBOS = {"cottage": cottage, "locomotive": locomotive_combo}



SECTION_START = "// ---- the demo models' stones and the palette's labels (written by tools/make_models.py) ----"
SECTION_END = "// ---- end of the written section ----"


def declared(lines):
    """The names a POV-Ray include declares, lower-cased, as the program
    collects them."""
    names = set()
    for line in lines:
        line = line.strip().lower()
        if line.startswith("#declare") and "unfinished" not in line:
            names.add(line.split(" ")[1] if " " in line else "")
    return names


def pov_name(name):
    return "G" + re.sub(r"[^A-Za-z0-9_]", "_", name)


def stone_declarations(data, known):
    """One POV-Ray object for every stone name of the shipped models and
    combos that the include does not declare yet, and one for every palette
    label of a library part."""
    shapes, conflicts = {}, set()
    for folder in ("Models", "Combos"):
        for file in sorted(os.listdir(os.path.join(data, folder))):
            if not file.lower().endswith(".stm"):
                continue
            for line in open(os.path.join(data, folder, file), newline=""):
                f = line.split()
                if not f or f[0] == "=":
                    continue
                if f[0] == "G":
                    name, shape = (f[15] if len(f) > 15 else ""), "G" + f[13]
                else:
                    l, w, h, turn = int(f[4]), int(f[5]), int(f[6]), int(f[10])
                    if turn % 2:
                        l, w = w, l
                    name, shape = (f[13] if len(f) > 14 else ""), "%s(%d, %d, %d)" % (KIND_MACROS[f[0]], l, w, h)
                # A stone named after its part is the part's own object.
                if not name or pov_name(name).lower() == shape.lower():
                    continue
                if shapes.setdefault(pov_name(name), shape) != shape:
                    conflicts.add("%s/%s: %s" % (folder, file, name))
    if conflicts:
        sys.exit("Stone names that stand for two shapes:\n" + "\n".join(sorted(conflicts)))
    for line in open(os.path.join(data, "Stonemill.ini"), newline=""):
        m = re.match(r"Brick\d+=G\s*[^,]*,\s*([^|]+)\|(.+)$", line.strip())
        if m and pov_name(m.group(2).strip()).lower() != "g" + m.group(1).strip().lower():
            shapes.setdefault(pov_name(m.group(2).strip()), "G" + m.group(1).strip())
    lines = []
    for name in sorted(shapes, key=str.lower):
        if name.lower() not in known:
            lines.append("#declare %s = object { %s }" % (name, shapes[name]))
            known.add(name.lower())
    return lines


def write_declarations(data):
    path = os.path.join(data, "Render", "smBlocks.inc")
    text = open(path, newline="").read().replace("\r\n", "\n")
    if SECTION_START in text:
        text = text[:text.index(SECTION_START)].rstrip("\n") + "\n"
    known = declared(text.split("\n"))
    section = stone_declarations(data, known)
    with open(path, "w", newline="") as f:
        f.write(text + "\n" + "\n".join([SECTION_START] + section + [SECTION_END]) + "\n")


def render_picture(stonemill, model, picture, size):
    subprocess.run([stonemill, "--render", model, "--output", picture, "--size", size, "--fit", "--antialias",
                    "--detail", "2"], check=True)


def main():
    if len(sys.argv) != 3:
        sys.exit("Usage: tools/make_models.py DATA_FOLDER STONEMILL")
    data, stonemill = sys.argv[1], sys.argv[2]
    for make in MODELS:
        path = os.path.join(data, "Models", make.__name__ + ".stm")
        make().write(path)
        render_picture(stonemill, path, path[:-4] + ".jpg", "400x300")
    for name, make in COMBOS.items():
        path = os.path.join(data, "Combos", name + ".stm")
        make().write(path, zoom_code=20)
        render_picture(stonemill, path, path[:-4] + ".png", "140x62")
    for name, stones in SETS.items():
        with open(os.path.join(data, "Sets", name + ".set"), "w", newline="") as f:
            for caption, count in stones:
                f.write("%s, %d\r\n" % (caption, count))
    write_declarations(data)


if __name__ == "__main__":
    main()
