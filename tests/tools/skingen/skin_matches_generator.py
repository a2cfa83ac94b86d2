"""Checks that the committed skin is exactly what the generator makes.

    python3 skin_matches_generator.py <generate.py> <skin folder>

Runs the generator into a temporary folder and compares the two folders file
by file, byte for byte. A difference means the pictures or skin.ini were edited
by hand, or the generator changed without its output being regenerated:
run `python3 tools/skingen/generate.py dat/skin1`.
"""

import filecmp
import os
import subprocess
import sys
import tempfile

def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    generator, committed = sys.argv[1:]
    with tempfile.TemporaryDirectory() as fresh:
        subprocess.run([sys.executable, generator, fresh], check=True)
        made = set(os.listdir(fresh))
        present = set(os.listdir(committed))
        problems = []
        for name in sorted(made - present):
            problems.append('missing from %s: %s' % (committed, name))
        for name in sorted(present - made):
            problems.append('not made by the generator: %s' % name)
        for name in sorted(made & present):
            if not filecmp.cmp(os.path.join(fresh, name), os.path.join(committed, name), shallow=False):
                problems.append('differs from the generator output: %s' % name)
    if problems:
        print('\n'.join(problems))
        print('regenerate with: python3 %s %s' % (generator, committed))
        sys.exit(1)
    print('%d files match the generator' % len(made))


if __name__ == '__main__':
    main()
