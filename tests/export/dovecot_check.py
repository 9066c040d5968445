#!/usr/bin/python3
"""A real IMAP server reads an exported store: exports the sample store to
Maildir, starts a private Dovecot (own configuration in a scratch folder,
listening on 127.0.0.1 only) over it, and checks with an IMAP client that
every folder is listed and every message fetched as written: counts,
subjects and bodies agree with what Python's mailbox module reads from the
same files. Exit 77 (skipped) only when Dovecot cannot be started.

A second store, written by edbgen from a description, holds folders whose
names carry the hierarchy separator, "/", "..", "&", "~", control
characters and long runs of non-ASCII letters: IMAP must list each under its
own name and serve its message.

Usage: dovecot_check.py EDBRECOVER EDBGEN STORE.edb
"""
import base64
import email
import email.policy
import imaplib
import json
import mailbox
import os
import pwd
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time

SKIP = 77


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def imap_utf7_decode(name):
    out, i = [], 0
    while i < len(name):
        if name[i] == "&":
            end = name.index("-", i)
            if end == i + 1:
                out.append("&")
            else:
                chunk = name[i + 1:end].replace(",", "/")
                chunk += "=" * (-len(chunk) % 4)
                out.append(base64.b64decode(chunk).decode("utf-16-be"))
            i = end + 1
        else:
            out.append(name[i])
            i += 1
    return "".join(out)


def dovecot_config(scratch, store_links, port, uid, gid, user):
    # Indexes go to files in the scratch folder, as on a real server: with
    # INDEX=MEMORY Dovecot 2.3 opens a Maildir folder it has never seen (no
    # dovecot-uidlist yet) as empty in that first session, unless its
    # mailbox list index happened to open the folder earlier in the session
    # (it does during LIST, but under a wrong name for a folder whose name
    # holds the list escape, which is why only those came up empty).
    return f"""
base_dir = {scratch}/run
state_dir = {scratch}/state
log_path = {scratch}/dovecot.log
protocols = imap
listen = 127.0.0.1
ssl = no
disable_plaintext_auth = no
auth_mechanisms = plain
default_internal_user = {user[0]}
default_login_user = {user[1]}
mail_location = maildir:{store_links}/%u:LAYOUT=maildir++:INDEX={scratch}/index/%u:CONTROL={scratch}/control/%u
mail_plugins = listescape
namespace inbox {{
  inbox = yes
  separator = /
}}
plugin {{
  listescape_char = "\\\\"
}}
first_valid_uid = {min(uid, 500)}
passdb {{
  driver = static
  args = password=secret
}}
userdb {{
  driver = static
  args = uid={uid} gid={gid} home={scratch}/home/%u
}}
service imap-login {{
  inet_listener imap {{
    address = 127.0.0.1
    port = {port}
  }}
  inet_listener imaps {{
    port = 0
  }}
}}
service auth {{
  user = $default_internal_user
}}
"""


def expected_messages(maildir_root):
    md = mailbox.Maildir(maildir_root, factory=None, create=False)
    folders = {"INBOX": md}
    for name in md.list_folders():
        # The directory holds the IMAP name with "." between levels ("/" over
        # IMAP) and list escapes ("\\2e" for a "." inside a name).
        unescaped = re.sub(r"\\([0-9a-f]{2})", lambda m: chr(int(m.group(1), 16)), name.replace(".", "/"))
        folders[imap_utf7_decode(unescaped)] = md.get_folder(name)
    result = {}
    for name, folder in folders.items():
        items = []
        for key in folder.keys():
            message = email.message_from_bytes(folder.get_bytes(key), policy=email.policy.default)
            body = message.get_body(preferencelist=("plain",))
            items.append((str(message["Subject"] or ""), body.get_content() if body is not None else ""))
        result[name] = sorted(items)
    return result


def imap_messages(port, user):
    imap = imaplib.IMAP4("127.0.0.1", port)
    imap.login(user, "secret")
    typ, listing = imap.list('""', "*")
    assert typ == "OK", listing
    result = {}
    for line in listing:
        line = line.decode("ascii")
        match = re.match(r'\((.*?)\) "(.)" (.*)$', line)
        assert match, line
        flags, raw = match.group(1).lower(), match.group(3)
        if "\\noselect" in flags or "\\nonexistent" in flags:
            continue  # a parent the hierarchy separator in a name implies
        quoted = raw.startswith('"')
        name = raw[1:-1].replace('\\"', '"').replace("\\\\", "\\") if quoted else raw
        typ, answer = imap.select('"' + name.replace("\\", "\\\\").replace('"', '\\"') + '"', readonly=True)
        if typ != "OK":
            # Listed but not opened: reported as a difference by the caller.
            result[imap_utf7_decode(name)] = "cannot be opened: %r" % answer
            continue
        typ, data = imap.search(None, "ALL")
        numbers = data[0].split()
        items = []
        for number in numbers:
            typ, fetched = imap.fetch(number, "(BODY.PEEK[])")
            assert typ == "OK", fetched
            message = email.message_from_bytes(fetched[0][1], policy=email.policy.default)
            body = message.get_body(preferencelist=("plain",))
            text = body.get_content() if body is not None else ""
            # IMAP sends CRLF line ends; the files keep LF.
            items.append((str(message["Subject"] or ""), text.replace("\r\n", "\n")))
        result[imap_utf7_decode(name)] = sorted(items)
        imap.close()
    imap.logout()
    return result


HOSTILE_FOLDERS = ["a.b", "x/y", "..", "../..", "Tom & Jerry", "~tilde", "a~b", "bell\x07", "Entwürfe",
                   "Ünïcödé.日本語", "Нежелательная почта", "日本語のフォルダ名前です", "a//b"]


def imap_name(folder):
    """The IMAP name a folder is served under: its own, except that a "/"
    that cannot be a hierarchy level is shown as U+2215."""
    pieces = folder.split("/")
    return folder if all(pieces) else folder.replace("/", "\u2215")


def hostile_description():
    folders = [{"id": "1000000000020a0", "display_name": "Top of Information Store"}]
    for index, name in enumerate(["Inbox"] + HOSTILE_FOLDERS):
        folders.append({
            "id": "100000000002%03x" % (0xa1 + index), "parent": "1000000000020a0",
            "display_name": name, "container_class": "IPF.Note", "layout": "key_first",
            "items": [{
                "key": "5d0000001%07x" % index, "class": "IPM.Note", "subject": "in " + name,
                "sender": {"address": "someone@example.org"}, "submit_time": "2005-06-10T09:15:00Z",
                "body": {"plain": "Message in folder " + name + "\n"},
            }],
        })
    return {"plain_body_code_page": 1252, "mailboxes": [{
        "key": "3c00000000001001", "display_name": "Mailbox - Hostile",
        "legacy_dn": "/o=Test/cn=hostile", "folders": folders}]}


def export(edbrecover, database, store):
    run = subprocess.run([edbrecover, "export", database, "--to", store], capture_output=True, text=True)
    if run.returncode != 0:
        print("export of %s failed: %d %s %s" % (database, run.returncode, run.stdout, run.stderr))
    return run.returncode == 0


def main():
    edbrecover, edbgen, database = sys.argv[1], sys.argv[2], sys.argv[3]
    dovecot = shutil.which("dovecot") or "/usr/sbin/dovecot"
    if not os.path.exists(dovecot):
        print("SKIPPED: dovecot is not installed (tools/install-deps.sh installs dovecot-imapd)")
        return SKIP
    scratch = tempfile.mkdtemp(prefix="edb-dovecot-")
    os.chmod(scratch, 0o755)
    process = None
    try:
        store = os.path.join(scratch, "store")
        description = os.path.join(scratch, "hostile.json")
        with open(description, "w", encoding="utf-8") as handle:
            json.dump(hostile_description(), handle, ensure_ascii=False)
        hostile = os.path.join(scratch, "hostile.edb")
        subprocess.run([edbgen, "json", description, hostile], check=True, capture_output=True)
        if not export(edbrecover, database, store) or not export(edbrecover, hostile, store):
            return 1
        if os.getuid() == 0:
            # The package's own unprivileged users run the server's parts;
            # mail is read as nobody.
            account = pwd.getpwnam("nobody")
            user_name = ("dovecot", "dovenull")
        else:
            account = pwd.getpwuid(os.getuid())
            user_name = (account.pw_name, account.pw_name)
        uid, gid = account.pw_uid, account.pw_gid
        links = os.path.join(scratch, "users")
        os.makedirs(links)
        users = {}
        for index, name in enumerate(sorted(os.listdir(store))):
            if name.startswith(".") or not os.path.isdir(os.path.join(store, name, "cur")):
                continue
            users["user%d" % index] = os.path.join(store, name)
            os.symlink(os.path.join(store, name), os.path.join(links, "user%d" % index))
        for sub in ("run", "state", "control", "index", "home"):
            os.makedirs(os.path.join(scratch, sub))
        subprocess.run(["chmod", "-R", "a+rwX", scratch], check=True)
        port = free_port()
        config = os.path.join(scratch, "dovecot.conf")
        with open(config, "w") as handle:
            handle.write(dovecot_config(scratch, links, port, uid, gid, user_name))
        process = subprocess.Popen([dovecot, "-F", "-c", config], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        for _ in range(100):
            if process.poll() is not None:
                break
            try:
                socket.create_connection(("127.0.0.1", port), timeout=0.2).close()
                break
            except OSError:
                time.sleep(0.1)
        else:
            pass
        if process.poll() is not None:
            output = process.stdout.read().decode(errors="replace")
            log = open(os.path.join(scratch, "dovecot.log")).read() if os.path.exists(
                os.path.join(scratch, "dovecot.log")) else ""
            print("SKIPPED: dovecot could not start:", output, log)
            return SKIP
        failures = 0
        total = 0
        for user, root in users.items():
            expected = expected_messages(root)
            seen = imap_messages(port, user)
            if set(seen) != set(expected):
                print("%s: folders differ: IMAP %s, files %s" % (root, sorted(seen), sorted(expected)))
                failures += 1
            for folder, items in expected.items():
                total += len(items)
                if seen.get(folder) != items:
                    print("%s/%s: IMAP gave %.500r, the files hold %.500r" % (root, folder, seen.get(folder), items))
                    failures += 1
        hostile_user = [u for u, root in users.items() if root.endswith("Mailbox - Hostile")]
        if len(hostile_user) != 1:
            print("the hostile mailbox was not exported")
            failures += 1
        else:
            served = imap_messages(port, hostile_user[0])
            wanted = {imap_name(name) for name in HOSTILE_FOLDERS} | {"INBOX"}
            if set(served) != wanted:
                print("hostile folder names: IMAP lists %r, wanted %r" % (sorted(served), sorted(wanted)))
                failures += 1
            # Each folder, dotted names included, serves its one message.
            for name in HOSTILE_FOLDERS:
                items = served.get(imap_name(name), [])
                subjects = [subject for subject, _ in items] if isinstance(items, list) else items
                if subjects != ["in " + name]:
                    print("hostile folder %r: IMAP served %r" % (name, subjects))
                    failures += 1
        print("dovecot served %d mailboxes, %d messages; %d differences" % (len(users), total, failures))
        if total == 0:
            print("no message was exported")
            return 1
        return 1 if failures else 0
    finally:
        if process is not None and process.poll() is None:
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
        if not os.environ.get("EDB_KEEP_SCRATCH"):
            shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
