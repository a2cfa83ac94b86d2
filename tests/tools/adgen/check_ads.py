"""Reads the committed sample banners with an independent movie parser
(Debian's python3-yaswfp) and checks what the player and the program rely on:
a 300 x 50 frame, a consistent header, and tags that only ever refer to
characters defined before them and depths that are occupied.

Run with Debian's own interpreter: check_ads.py <ad directory>
"""

import collections
import os
import struct
import sys
import unittest
import zlib

from yaswfp import swfparser

AD_DIR = None
EXPECTED_FILES = ["ad1.swf", "ad2.swf", "ad3.swf"]
SHAPE_TAGS = {"DefineShape", "DefineShape2", "DefineShape3", "DefineShape4"}
BITMAP_TAGS = {"DefineBits", "DefineBitsJPEG2", "DefineBitsJPEG3", "DefineBitsLossless", "DefineBitsLossless2"}


def uncompressed_length(data):
    if data[:3] == b"CWS":
        return 8 + len(zlib.decompress(data[8:]))
    return len(data)


def raw(tag):
    """The body of a tag the parser leaves undecoded."""
    return tag.raw_payload


def character_id(tag):
    if tag.name in SHAPE_TAGS:
        return tag.ShapeId
    if tag.name in ("DefineBits", "DefineBitsJPEG2", "DefineBitsJPEG3"):
        return tag.CharacterID
    return struct.unpack_from("<H", raw(tag))[0]


def fill_styles(shape):
    return list(shape.Shapes.FillStyles.FillStyles or [])


class CommittedAds(unittest.TestCase):
    def load(self, name):
        path = os.path.join(AD_DIR, name)
        with open(path, "rb") as f:
            data = f.read()
        return data, swfparser.parsefile(path)

    def test_the_three_banners_are_there(self):
        names = sorted(n for n in os.listdir(AD_DIR) if n.lower().endswith(".swf"))
        self.assertEqual(names, EXPECTED_FILES)

    def test_headers_give_an_animated_300_by_50_frame(self):
        for name in EXPECTED_FILES:
            with self.subTest(name):
                data, movie = self.load(name)
                header = movie.header
                self.assertIn(header.Signature, ("FWS", "CWS"))
                self.assertEqual(tuple(header.FrameSize), (0, 300 * 20, 0, 50 * 20))
                self.assertEqual(header.FileLength, uncompressed_length(data))
                self.assertGreater(header.FrameRate, 0)
                shown = sum(1 for t in movie.tags if t.name == "ShowFrame")
                self.assertEqual(header.FrameCount, shown)
                self.assertGreaterEqual(shown, 12)
                self.assertEqual(movie.tags[0].name, "SetBackgroundColor")
                self.assertEqual(movie.tags[-1].name, "ShowFrame")

    def test_tags_refer_only_to_defined_characters_and_occupied_depths(self):
        for name in EXPECTED_FILES:
            with self.subTest(name):
                _, movie = self.load(name)
                shapes, bitmaps, depths = set(), set(), {}
                have_tables = False
                for tag in movie.tags:
                    if tag.name == "JPEGTables":
                        have_tables = True
                    elif tag.name in BITMAP_TAGS:
                        if tag.name == "DefineBits":
                            self.assertTrue(have_tables, "DefineBits before JPEGTables")
                        bitmaps.add(character_id(tag))
                    elif tag.name in SHAPE_TAGS:
                        for fill in fill_styles(tag):
                            if fill.FillStyleType in (0x40, 0x41, 0x42, 0x43):
                                self.assertIn(fill.BitmapId, bitmaps, "fill with an undefined bitmap")
                        shapes.add(tag.ShapeId)
                    elif tag.name == "PlaceObject2":
                        if tag.PlaceFlagHasCharacter:
                            self.assertIn(tag.CharacterId, shapes)
                            depths[tag.Depth] = tag.CharacterId
                        else:
                            self.assertTrue(tag.PlaceFlagMove)
                            self.assertIn(tag.Depth, depths, "a move of an empty depth")
                    elif tag.name == "PlaceObject":
                        character, depth = struct.unpack_from("<HH", raw(tag))
                        self.assertIn(character, shapes)
                        depths[depth] = character
                    elif tag.name == "RemoveObject":
                        self.assertEqual(depths.pop(tag.Depth, None), tag.CharacterId)
                    elif tag.name == "RemoveObject2":
                        self.assertIn(tag.Depth, depths)
                        del depths[tag.Depth]

    def test_lossless_bitmaps_inflate_to_their_stated_size(self):
        _, movie = self.load("ad2.swf")
        lossless = [t for t in movie.tags if t.name in ("DefineBitsLossless", "DefineBitsLossless2")]
        self.assertEqual(len(lossless), 2)
        for tag in lossless:
            _, fmt, width, height = struct.unpack_from("<HBHH", raw(tag))
            self.assertEqual(fmt, 5)
            pixels = zlib.decompress(raw(tag)[7:])
            self.assertEqual(len(pixels), width * height * 4)

    def test_the_banners_use_the_features_the_player_draws(self):
        tags = collections.Counter()
        fill_types = set()
        lines = curves = 0
        for name in EXPECTED_FILES:
            _, movie = self.load(name)
            tags.update(t.name for t in movie.tags)
            for tag in movie.tags:
                if tag.name in SHAPE_TAGS:
                    fill_types.update(f.FillStyleType for f in fill_styles(tag))
                    lines += len(tag.Shapes.LineStyles.LineStyles or [])
                    curves += sum(1 for r in tag.Shapes.ShapeRecords if r.name == "CurvedEdgeRecord")
        for name in ("DefineShape", "DefineShape2", "DefineShape3", "DefineShape4", "DefineBits", "JPEGTables",
                     "DefineBitsJPEG2", "DefineBitsLossless", "DefineBitsLossless2", "PlaceObject",
                     "PlaceObject2", "RemoveObject", "RemoveObject2"):
            self.assertIn(name, tags)
        self.assertTrue({0x00, 0x10, 0x12} <= fill_types)
        self.assertTrue(fill_types & {0x40, 0x41, 0x42, 0x43})
        self.assertGreater(lines, 0)
        self.assertGreater(curves, 100)  # the text is outlines, not pictures


if __name__ == "__main__":
    AD_DIR = sys.argv.pop(1)
    unittest.main()
