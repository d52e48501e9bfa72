"""Shared pieces of the build-time data generators.

Every generator turns inputs kept in the repository into C++ sources that are
compiled into the program or a plug-in. Output must be deterministic: the same
inputs give the same bytes.
"""
import os
import zlib


def compress(data: bytes) -> bytes:
    """zlib stream at the default level (starts 0x78 0x9C), as the loaders expect."""
    out = zlib.compress(data, 6)
    assert out[:2] == b"\x78\x9c"
    return out


def c_bytes(data: bytes, indent: str = "    ", per_line: int = 16) -> str:
    """Body of a C array initialiser for `data`."""
    lines = []
    for i in range(0, len(data), per_line):
        lines.append(indent + ", ".join("0x%02X" % b for b in data[i:i + per_line]) + ",")
    if not lines:
        lines.append(indent + "0x00,")
    return "\n".join(lines)


def c_array(name: str, data: bytes, storage: str = "extern const", align: int = 4) -> str:
    """A definition `storage unsigned char name[] = {...};` aligned to `align` bytes."""
    return "%s unsigned char %s[%d] __attribute__((aligned(%d))) = {\n%s\n};\n" % (
        storage, name, max(len(data), 1), align, c_bytes(data))


def write_bytes_if_changed(path: str, data: bytes) -> None:
    """Writes data to path unless it already holds exactly those bytes (keeps rebuilds quiet)."""
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    with open(path, "wb") as f:
        f.write(data)


def write_if_changed(path: str, text: str) -> None:
    """write_bytes_if_changed for text, stored UTF-8 as it stands (no line-end translation)."""
    write_bytes_if_changed(path, text.encode("utf-8"))


def image_generator_main(argv, description, write_sources, images) -> int:
    """Command line of the picture generators: --out-dir writes the C++
    sources, --tga writes each picture as a .tga file to look at."""
    import argparse

    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--out-dir")
    parser.add_argument("--tga")
    args = parser.parse_args(argv)
    if args.out_dir:
        write_sources(args.out_dir)
    if args.tga:
        os.makedirs(args.tga, exist_ok=True)
        for name, data in images():
            write_bytes_if_changed(os.path.join(args.tga, name + ".tga"), data)
    if not (args.out_dir or args.tga):
        parser.error("--out-dir or --tga is required")
    return 0


def source_pair_main(argv, program, generate) -> int:
    """Command line of the generators that write one .cpp and one .h:
    `program OUT_CPP OUT_H`; generate() returns (cpp text, h text)."""
    import sys

    if len(argv) != 2:
        print("usage: %s OUT_CPP OUT_H" % program, file=sys.stderr)
        return 2
    cpp, h = generate()
    write_if_changed(argv[0], cpp)
    write_if_changed(argv[1], h)
    return 0
