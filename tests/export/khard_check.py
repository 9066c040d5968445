#!/usr/bin/python3
"""khard reads the exported address books: exports a store, points a khard
configuration (scratch folder, one address book per exported contact
folder) at them and checks that khard lists every card under its UID and
full name, and gives back every e-mail address, telephone number and postal
address the files hold. khard refuses a card it cannot parse, so this also
checks that every card is one khard accepts. Exit 77 (skipped) when khard is
not installed.

Usage: khard_check.py EDBRECOVER STORE.edb
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile

SKIP = 77


def unescape(value):
    out, i = [], 0
    while i < len(value):
        if value[i] == "\\" and i + 1 < len(value):
            out.append("\n" if value[i + 1] in "nN" else value[i + 1])
            i += 2
        else:
            out.append(value[i])
            i += 1
    return "".join(out)


def card_properties(path):
    """(name, value) of each property line, unfolded; parameters dropped."""
    with open(path, encoding="utf-8", newline="") as handle:
        text = handle.read().replace("\r\n ", "").replace("\r\n\t", "")
    properties = []
    for line in text.split("\r\n"):
        if ":" not in line:
            continue
        head, value = line.split(":", 1)
        properties.append((head.split(";", 1)[0].upper(), value))
    return properties


def khard(config, *args):
    run = subprocess.run(["khard", "-c", config] + list(args), capture_output=True, text=True)
    if run.returncode != 0:
        raise RuntimeError("khard %s failed: %s %s" % (" ".join(args), run.stdout, run.stderr))
    # Parsable output: one tab-separated row per entry.
    return [line.split("\t") for line in run.stdout.splitlines() if "\t" in line]


def main():
    edbrecover, database = sys.argv[1], sys.argv[2]
    if shutil.which("khard") is None:
        print("SKIPPED: khard is not installed (tools/install-deps.sh installs it)")
        return SKIP
    scratch = tempfile.mkdtemp(prefix="edb-khard-")
    try:
        store = os.path.join(scratch, "store")
        run = subprocess.run([edbrecover, "export", database, "--to", store], capture_output=True, text=True)
        if run.returncode != 0:
            print("export failed: %d %s %s" % (run.returncode, run.stdout, run.stderr))
            return 1
        books = sorted(glob.glob(os.path.join(store, "*", "contacts", "*")))
        if not books:
            print("no address book was exported")
            return 1
        config = os.path.join(scratch, "khard.conf")
        with open(config, "w", encoding="utf-8") as handle:
            handle.write("[addressbooks]\n")
            for index, book in enumerate(books):
                handle.write("[[book%d]]\npath = %s\n" % (index, book))
            handle.write("[general]\ndefault_action = list\n[contact table]\ndisplay = formatted_name\n")

        expected_cards, emails, phones, addresses = set(), set(), set(), 0
        for index, book in enumerate(books):
            for card in glob.glob(os.path.join(book, "*.vcf")):
                properties = card_properties(card)
                values = {}
                for name, value in properties:
                    values.setdefault(name, value)
                    if name == "EMAIL":
                        emails.add(unescape(value))
                    elif name == "TEL":
                        phones.add(unescape(value))
                    elif name == "ADR":
                        addresses += 1
                expected_cards.add((values["UID"], unescape(values["FN"]), "book%d" % index))

        failures = 0
        listed = {tuple(row[:3]) for row in khard(config, "list", "--parsable")}
        if listed != expected_cards:
            print("khard lists %r,\nthe files hold %r" % (sorted(listed), sorted(expected_cards)))
            failures += 1
        listed_emails = {row[0] for row in khard(config, "email", "--parsable")}
        if listed_emails != emails:
            print("khard e-mail addresses %r, the files hold %r" % (sorted(listed_emails), sorted(emails)))
            failures += 1
        listed_phones = {row[0] for row in khard(config, "phone", "--parsable")}
        if listed_phones != phones:
            print("khard telephone numbers %r, the files hold %r" % (sorted(listed_phones), sorted(phones)))
            failures += 1
        listed_addresses = khard(config, "postaddress", "--parsable")
        if len(listed_addresses) != addresses:
            print("khard gives %d postal addresses, the files hold %d" % (len(listed_addresses), addresses))
            failures += 1
        print("khard read %d address books, %d cards; %d differences" % (len(books), len(expected_cards), failures))
        return 1 if failures else 0
    finally:
        if not os.environ.get("EDB_KEEP_SCRATCH"):
            shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
