#!/usr/bin/python3
"""Reads a target store back with independent parsers and prints what they
saw as one JSON object: every message (Python's email package, default
policy, through mailbox.Maildir, mailbox.mbox or the .eml files), every
vCard (vobject) and every iCalendar object (icalendar).

Usage: read_target.py STORE FORMAT   (FORMAT: maildir, mbox or eml)
"""
import base64
import email
import email.policy
import email.utils
import json
import mailbox
import os
import re
import sys


def addresses(header):
    if header is None:
        return []
    out = []
    for address in header.addresses:
        out.append({"name": address.display_name, "address": address.addr_spec if address.username else ""})
    for group in header.groups:
        if group.display_name is not None and not group.addresses:
            out.append({"name": group.display_name, "address": ""})
    return out


def message_record(folder, message):
    record = {"folder": folder, "defects": [repr(d) for d in message.defects]}
    record["from"] = addresses(message["From"])
    record["to"] = addresses(message["To"])
    record["subject"] = str(message["Subject"]) if message["Subject"] is not None else None
    date = message["Date"]
    record["date"] = int(date.datetime.timestamp()) if date is not None and date.datetime else None
    record["message_id"] = str(message["Message-ID"]) if message["Message-ID"] else None
    record["headers"] = [k.lower() for k in message.keys()]
    text = message.get_body(preferencelist=("plain",))
    html = message.get_body(preferencelist=("html",))
    record["text"] = text.get_content() if text is not None else None
    record["html"] = html.get_content() if html is not None else None
    record["attachments"] = []
    for part in message.walk():
        record["defects"] += [repr(d) for d in part.defects]
    for part in message.iter_attachments():
        data = part.get_payload(decode=True) or b""
        record["attachments"].append({
            "name": part.get_filename(),
            "type": part.get_content_type(),
            "data": base64.b64encode(data).decode("ascii"),
        })
    return record


def mboxrd_unquoted(raw):
    """mailbox.mbox leaves the mboxrd quoting in place; a reader removes one ">"."""
    return re.sub(rb"(?m)^>(>*From )", rb"\1", raw)


def maildir_folder_name(directory):
    return "INBOX" if directory == "" else directory


def read_messages(store, fmt):
    messages = []
    for mailbox_name in sorted(os.listdir(store)):
        root = os.path.join(store, mailbox_name)
        if mailbox_name.startswith(".") or not os.path.isdir(root):
            continue
        if fmt == "maildir":
            if not os.path.isdir(os.path.join(root, "cur")):
                continue
            md = mailbox.Maildir(root, factory=None, create=False)
            folders = [("", md)] + [(name, md.get_folder(name)) for name in sorted(md.list_folders())]
            for name, folder in folders:
                for key in sorted(folder.keys()):
                    raw = folder.get_bytes(key)
                    message = email.message_from_bytes(raw, policy=email.policy.default)
                    messages.append(message_record(mailbox_name + "/" + maildir_folder_name(name), message))
        elif fmt == "mbox":
            for name in sorted(os.listdir(root)):
                if not name.endswith(".mbox"):
                    continue
                box = mailbox.mbox(os.path.join(root, name), create=False)
                for key in box.keys():
                    raw = mboxrd_unquoted(box.get_bytes(key))
                    message = email.message_from_bytes(raw, policy=email.policy.default)
                    messages.append(message_record(mailbox_name + "/" + name[:-5], message))
        else:
            for name in sorted(os.listdir(root)):
                directory = os.path.join(root, name)
                if name in ("contacts", "calendars") or not os.path.isdir(directory):
                    continue
                for file in sorted(os.listdir(directory)):
                    if not file.endswith(".eml"):
                        continue
                    with open(os.path.join(directory, file), "rb") as handle:
                        message = email.message_from_binary_file(handle, policy=email.policy.default)
                    messages.append(message_record(mailbox_name + "/" + name, message))
    return messages


def card_record(path, card):
    def value(name):
        items = card.contents.get(name)
        return items[0].value if items else None

    record = {"file": path, "fn": value("fn"), "uid": value("uid")}
    name = value("n")
    record["n"] = [name.family, name.given, name.additional] if name is not None else None
    record["org"] = value("org")
    record["title"] = value("title")
    record["email"] = [e.value for e in card.contents.get("email", [])]
    record["tel"] = [{"types": sorted(t.params.get("TYPE", [])), "value": t.value} for t in card.contents.get("tel", [])]
    record["adr"] = []
    for adr in card.contents.get("adr", []):
        a = adr.value
        record["adr"].append({"types": sorted(adr.params.get("TYPE", [])), "street": a.street, "city": a.city,
                              "region": a.region, "code": a.code, "country": a.country})
    record["url"] = [u.value for u in card.contents.get("url", [])]
    record["note"] = value("note")
    return record


def read_cards(store):
    import vobject
    cards = []
    for mailbox_name in sorted(os.listdir(store)):
        contacts = os.path.join(store, mailbox_name, "contacts")
        if not os.path.isdir(contacts):
            continue
        for folder in sorted(os.listdir(contacts)):
            for file in sorted(os.listdir(os.path.join(contacts, folder))):
                path = os.path.join(contacts, folder, file)
                with open(path, encoding="utf-8") as handle:
                    for card in vobject.readComponents(handle.read()):
                        cards.append(card_record(mailbox_name + "/" + folder + "/" + file, card))
    return cards


def read_calendars(store):
    import icalendar
    items = []
    for mailbox_name in sorted(os.listdir(store)):
        calendars = os.path.join(store, mailbox_name, "calendars")
        if not os.path.isdir(calendars):
            continue
        for folder in sorted(os.listdir(calendars)):
            for file in sorted(os.listdir(os.path.join(calendars, folder))):
                with open(os.path.join(calendars, folder, file), "rb") as handle:
                    calendar = icalendar.Calendar.from_ical(handle.read())
                for component in calendar.walk():
                    if component.name not in ("VEVENT", "VTODO", "VJOURNAL"):
                        continue
                    record = {"file": mailbox_name + "/" + folder + "/" + file, "kind": component.name}
                    for field in ("UID", "SUMMARY", "LOCATION", "DESCRIPTION"):
                        record[field.lower()] = str(component[field]) if field in component else None
                    for field in ("DTSTART", "DTEND", "DUE", "DTSTAMP"):
                        record[field.lower()] = (int(component.decoded(field).timestamp())
                                                 if field in component else None)
                    organizer = component.get("ORGANIZER")
                    record["organizer"] = str(organizer) if organizer is not None else None
                    attendees = component.get("ATTENDEE", [])
                    if not isinstance(attendees, list):
                        attendees = [attendees]
                    record["attendees"] = [str(a) for a in attendees]
                    items.append(record)
    return items


def main():
    store, fmt = sys.argv[1], sys.argv[2]
    print(json.dumps({"messages": read_messages(store, fmt), "cards": read_cards(store),
                      "calendar": read_calendars(store)}, ensure_ascii=False))


if __name__ == "__main__":
    main()
