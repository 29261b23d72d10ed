#!/usr/bin/env python3
"""A release zip as a Windows user gets it: unpacked into an empty folder,
it must hold exactly its files, a 32-bit GUI program that needs no DLL
beyond Windows' own, texts that Notepad shows right, and dictionaries in
which known words are found.

check_zip.py ZIP samples|de-en OBJDUMP CLI [DRIVER WINE_RUN...]
  CLI is a host build of vokabix-cli: the same search as the program's.
  With DRIVER (the 32-bit end-to-end test program) and the command that runs
  it in the 32-bit Wine lane (scripts/wine-run and its options), the unpacked
  Vokabix.exe itself is started and must show the first row for "Haus", and
  after F4 the first verb of its strongs.dat; in the de-en release, entries
  added by it survive an import of de-en.txt into the folder."""
import os
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
FILES = {
    "samples": ["Vokabix.exe", "vokabix-import.exe", "README.txt", "LICENSE.txt", "GerEng.dat", "EngGer.dat",
                "strongs.dat"],
    "de-en": ["Vokabix.exe", "vokabix-import.exe", "README.txt", "LICENSE.txt", "GerEng.dat", "EngGer.dat",
              "strongs.dat", "DING.txt", "GPL-2.txt", "de-en.txt", "german-words.txt", "english-words.txt"],
}
# Windows-1252 leaves these five bytes undefined; control bytes other than
# tab and the line end have no place in a text for reading either.
UNDEFINED = {0x81, 0x8D, 0x8F, 0x90, 0x9D} | (set(range(0x20)) - {0x09, 0x0A, 0x0D}) | {0x7F}
faults = []


def fault(text):
    faults.append(text)
    print("check_zip: " + text)


def check_text(path):
    data = open(path, "rb").read()
    name = os.path.basename(path)
    if not data.endswith(b"\r\n"):
        fault(f"{name} does not end with CR LF")
    if data.replace(b"\r\n", b"").count(b"\n") or data.replace(b"\r\n", b"").count(b"\r"):
        fault(f"{name} has a line end other than CR LF")
    bad = sorted({b for b in data if b in UNDEFINED})
    if bad:
        fault(f"{name} holds bytes Windows-1252 does not show: {[hex(b) for b in bad]}")


def check_exe(path, kind, objdump):
    result = subprocess.run([os.path.join(HERE, "check_exe.sh"), path, kind, objdump], capture_output=True, text=True)
    if result.returncode != 0:
        fault(result.stderr.strip())


def first_row(cli, direction, dat, word):
    out = subprocess.run([cli, "search", "-d", direction, dat, word], capture_output=True, text=True)
    rows = out.stdout.splitlines()
    return rows[0] if out.returncode == 0 and rows else ""


def first_record(cli, dat, word):
    """The source and translation of the first row, as the list draws them:
    the bytes of the file, padding blanks included."""
    out = subprocess.run([cli, "search", dat, word, "--records"], capture_output=True, text=True)
    rows = out.stdout.splitlines()
    if out.returncode != 0 or len(rows) < 2:
        return None
    source, source_length, translation, translation_length = (int(v) for v in rows[1].split("\t")[1:5])
    data = open(dat, "rb").read()
    return (data[source:source + source_length].decode("cp1252"),
            data[translation:translation + translation_length].decode("cp1252"))


def strongs_records(cli, dat):
    """The four columns of each record of a strongs.dat, as the program
    reads them, and the file's line count."""
    out = subprocess.run([cli, "strongs", dat, "--records"], capture_output=True, text=True)
    rows = out.stdout.splitlines()
    if out.returncode != 0 or not rows:
        return [], 0
    data = open(dat, "rb").read()
    records = []
    for row in rows[1:]:
        fields = [int(v) for v in row.split("\t")[1:]]
        records.append([data[p:p + n].decode("cp1252") for p, n in zip(fields[0::2], fields[1::2])])
    return records, int(rows[0].split()[1])


def check_strongs(kind, dat, cli):
    """The samples keep the hand-typed list; the ding archive has the one
    made from ding, every line of it a record the program reads."""
    records, lines = strongs_records(cli, dat)
    sample = open(os.path.join(HERE, "..", "..", "samples", "strongs.dat"), "rb").read()
    shipped = open(dat, "rb").read()
    print(f"strongs.dat: {len(records)} records in {lines} lines")
    if kind == "samples" and shipped != sample:
        fault("strongs.dat is not the hand-typed samples/strongs.dat")
    if kind == "de-en" and (shipped == sample or not 150 <= len(records) <= 250 or len(records) != lines):
        fault(f"strongs.dat is not a list made from ding: {len(records)} records in {lines} lines")
    return records


def check_program(folder, cli, driver, wine_run, strongs):
    record = first_record(cli, os.path.join(folder, "GerEng.dat"), "Haus")
    if record is None or not all(text.isascii() for text in record):
        fault(f"no plain first row for Haus to look for: {record}")
        return
    env = dict(os.environ, VOKABIX_RELEASE_DIR=folder, VOKABIX_RELEASE_WORD="Haus",
               VOKABIX_RELEASE_SOURCE=record[0], VOKABIX_RELEASE_TRANSLATION=record[1])
    if strongs and all(column.isascii() for column in strongs[0]):
        env["VOKABIX_RELEASE_STRONGS"] = "\t".join(strongs[0])
    elif strongs:
        fault(f"no plain first verb to look for after F4: {strongs[0]}")
    result = subprocess.run(wine_run + [driver, "--gtest_filter=*UnpackedRelease*"], env=env,
                            capture_output=True, text=True)
    print(result.stdout[-3000:])
    if result.returncode != 0 or "[  PASSED  ] 1 test" not in result.stdout:
        fault("the unpacked Vokabix.exe did not show the first row for Haus, or not the first verb after F4")


# The entries the driver adds in each direction, as the program writes them.
ADDED = {"GerEng.dat": "Grünkohlessen (n)".ljust(43) + "*kale dinner\r\n",
         "EngGer.dat": "kale dinner".ljust(43) + "* Grünkohlessen\r\n"}


def check_upgrade(folder, driver, wine_run):
    """A user's own entries survive the import of the word list into the
    program's folder: the unpacked Vokabix.exe adds one to each file (and
    an import tried while it runs changes nothing), then the unpacked
    vokabix-import.exe imports de-en.txt into the folder."""
    at = lambda name: os.path.join(folder, name)
    env = dict(os.environ, VOKABIX_RELEASE_ADD_DIR=folder)
    result = subprocess.run(wine_run + [driver, "--gtest_filter=*EntriesAddedInAReleaseFolder*"], env=env,
                            capture_output=True, text=True)
    print(result.stdout[-3000:])
    if result.returncode != 0 or "[  PASSED  ] 1 test" not in result.stdout:
        fault("adding entries with the unpacked Vokabix.exe, or the import while it ran, failed")
        return
    old = {name: open(at(name), "rb").read() for name in ADDED}
    for name, line in ADDED.items():
        if not old[name].endswith(line.encode("cp1252")):
            fault(f"{name} does not end with the entry the program added")
    result = subprocess.run(wine_run + [at("vokabix-import.exe"), "--german-words", "german-words.txt",
                                        "--english-words", "english-words.txt", "de-en.txt", "."], cwd=folder,
                            capture_output=True)
    report = result.stderr.decode("cp1252")
    print("the import's report:\n" + report)
    if result.returncode != 0:
        fault(f"vokabix-import.exe ... de-en.txt . exited with {result.returncode}")
        return
    for name, line in ADDED.items():
        new = open(at(name), "rb").read()
        entry = line.encode("cp1252")
        if not new.endswith(entry) or new.count(entry) != 1:
            fault(f"{name}: the entry added is not at its end once, after the import")
        if open(at(name + ".bak"), "rb").read() != old[name]:
            fault(f"{name}.bak is not the file as it was before the import")
        if f"{name}: 1 entry of the old file kept" not in report:
            fault(f"the report does not name the entry kept in {name}")
    if any(name.endswith(".part") for name in os.listdir(folder)):
        fault("the import left a temporary file")


def main():
    zip_path, kind, objdump, cli = sys.argv[1:5]
    driver, wine_run = (sys.argv[5:6] + [None])[0], sys.argv[6:]
    if not os.path.exists(zip_path):
        print(f"check_zip: {zip_path} is missing; build it first (scripts/release)")
        return 1
    with tempfile.TemporaryDirectory() as folder:
        with zipfile.ZipFile(zip_path) as archive:
            names = archive.namelist()
            archive.extractall(folder)
        if sorted(names) != sorted(FILES[kind]):
            fault(f"the zip holds {sorted(names)}, not {sorted(FILES[kind])}")
        at = lambda name: os.path.join(folder, name)
        check_exe(at("Vokabix.exe"), "PE32 executable (GUI) Intel 80386", objdump)
        check_exe(at("vokabix-import.exe"), "PE32 executable (console) Intel 80386", objdump)
        for name in ["README.txt", "LICENSE.txt", "DING.txt", "GPL-2.txt"]:
            if os.path.exists(at(name)):
                check_text(at(name))
        # The word a user tries first is on the first row, in each direction.
        for direction, dat, word in [("ger-eng", "GerEng.dat", "Haus"), ("eng-ger", "EngGer.dat", "house")]:
            row = first_row(cli, direction, at(dat), word)
            source = row.split("\t")[0].split(" (")[0].split(" {")[0].strip()
            print(f"{dat}: first row for {word}: {row}")
            if source != word:
                fault(f"{dat}: the first row for {word} is '{row}'")
        strongs = check_strongs(kind, at("strongs.dat"), cli)
        if driver and not wine_run:
            fault("no command to run the driver in the 32-bit Wine lane with")
        elif driver:
            check_program(folder, cli, driver, wine_run, strongs)
            if kind == "de-en":
                check_upgrade(folder, driver, wine_run)
    print(f"{len(faults)} faults" if faults else "the zip is as a user should get it")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
