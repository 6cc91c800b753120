"""Runs the user guide's ```console examples and compares what they print with the guide.

Each "$ " line is a command run by bash in one scratch folder shared by all the examples, in the
order of the guide, with the tools on the PATH; the lines after it, up to the next command or the
end of the block, are what it prints on standard output and standard error together.
"""
import os
import re
import subprocess
import sys
import tempfile

BLOCK = re.compile(r"^```console\n(.*?)^```", re.MULTILINE | re.DOTALL)


def examples(guide_text):
    """(command, expected output) pairs in the order of the guide."""
    for block in BLOCK.findall(guide_text):
        command, expected = None, []
        for line in block.splitlines():
            if line.startswith("$ "):
                if command is not None:
                    yield command, expected
                command, expected = line[2:], []
            else:
                expected.append(line)
        if command is not None:
            yield command, expected


def main(guide, *tool_dirs):
    with open(guide, encoding="utf-8") as f:
        pairs = list(examples(f.read()))
    env = dict(os.environ, PATH=os.pathsep.join([*map(os.path.abspath, tool_dirs), os.environ["PATH"]]),
               QT_QPA_PLATFORM="offscreen", LC_ALL="C.UTF-8")
    failures = 0
    with tempfile.TemporaryDirectory() as scratch:
        env["XDG_DATA_HOME"] = os.path.join(scratch, ".data")  # never the user's places
        for command, expected in pairs:
            run = subprocess.run(["bash", "-c", command + " 2>&1"], cwd=scratch, env=env,
                                 stdout=subprocess.PIPE, check=False)
            got = run.stdout.decode("utf-8", "replace").splitlines()
            if got != expected:
                failures += 1
                print(f"$ {command}\n--- the guide shows:\n" + "\n".join(expected) +
                      "\n--- it prints:\n" + "\n".join(got) + "\n")
    print(f"{len(pairs)} examples, {failures} differ")
    return 1 if failures or not pairs else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
