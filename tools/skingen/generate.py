#!/usr/bin/env python3
"""Draws the program's own skin and writes it into a folder.

    python3 tools/skingen/generate.py dat/skin1

writes skin.ini and every BMP picture it names. The output depends on nothing
but this code: running it again gives the same bytes.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from skingen.skin import build  # noqa: E402


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('output', help='folder to write skin.ini and the pictures into')
    args = parser.parse_args(argv)
    build().write(args.output)


if __name__ == '__main__':
    main()
