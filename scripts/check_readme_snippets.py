"""Fails unless every consumer example appears word for word in the README, so
that the snippets users copy are the ones scripts/test-consumer.sh builds."""
import pathlib
import sys

root = pathlib.Path(__file__).resolve().parent.parent
readme = (root / "README.md").read_text(encoding="utf-8")
missing = [name for name in ("CMakeLists.txt", "main.cpp", "check.c", "check.py")
           if (root / "tests/consumer" / name).read_text(encoding="utf-8") not in readme]
for name in missing:
    print(f"README.md lacks tests/consumer/{name} as it is", file=sys.stderr)
sys.exit(1 if missing else 0)
