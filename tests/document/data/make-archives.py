#!/usr/bin/env python3
"""Writes the keyed archives that the document reader tests open.

They are built here with Python's plistlib, independently of EdgeMarks' own
writer, in the layout other keyed archivers produce: classes before objects,
mutable strings, equal strings stored twice, unreferenced objects, keys in any
order, negative numbers as 8-byte integers. Run it again after changing it:
    python3 make-archives.py
"""
import plistlib
from plistlib import UID

ARRAY = {"$classname": "NSArray", "$classes": ["NSArray", "NSObject"]}
MARRAY = {"$classname": "NSMutableArray", "$classes": ["NSMutableArray", "NSArray", "NSObject"]}
MSTRING = {"$classname": "NSMutableString", "$classes": ["NSMutableString", "NSString", "NSObject"]}
AIRH = {"$classname": "AirHBookmark", "$classes": ["AirHBookmark", "NSObject"]}
BOOKMARK = {"$classname": "Bookmark", "$classes": ["Bookmark", "AirHBookmark", "NSObject"]}
FOLDERS = ["%02d" % i for i in range(20)]


def archive(objects, root=1):
    return {"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {"root": UID(root)},
            "$objects": objects}


def write(name, plist):
    with open(name, "wb") as f:
        plistlib.dump(plist, f, fmt=plistlib.FMT_BINARY, sort_keys=False)


def independent():
    o = ["$null"]

    def add(x):
        o.append(x)
        return UID(len(o) - 1)

    # Class descriptions first, unlike Apple's archiver.
    c_array, c_marray, c_mstring, c_airh, c_bookmark = (add(ARRAY), add(MARRAY), add(MSTRING), add(AIRH),
                                                        add(BOOKMARK))
    add("an object nobody refers to")
    root = add(None)
    bookmarks = add(None)
    folders = add(None)
    r = []
    r.append(add({"folder": 2, "number": 7, "location": add("http://www.example.jp/"),
                  "name": add({"NS.string": "日本語のページ", "$class": c_mstring}), "$class": c_bookmark}))
    r.append(add({"$class": c_airh, "name": add("Plain"), "location": add("a/"), "number": -1, "folder": 19}))
    # No name (nil reference) and no number or folder key at all.
    r.append(add({"$class": c_bookmark, "name": UID(0), "location": add("ftp://ftp.example.com/")}))
    # The same text stored twice rather than shared.
    r.append(add({"$class": c_bookmark, "name": add("Twice"), "location": add("Twice"), "number": 99,
                  "folder": 0}))
    o[root.data] = {"NS.objects": [bookmarks, folders], "$class": c_array}
    o[bookmarks.data] = {"NS.objects": r, "$class": c_marray}
    names = [add(f) for f in FOLDERS[:3]] + [add("ニュース")] + [add(f) for f in FOLDERS[4:]]
    o[folders.data] = {"NS.objects": names, "$class": c_marray}
    write("independent.bookmarks", archive(o, root.data))


def document(bookmark_objects, folder_names=FOLDERS, root_class=ARRAY, extra_root=None):
    """A document archive in Apple's order; bookmark_objects are dictionaries whose
    "$class" and string values are filled in here."""
    o = ["$null", None, None]
    classes = {}

    def cls(c):
        if c["$classname"] not in classes:
            o.append(c)
            classes[c["$classname"]] = UID(len(o) - 1)
        return classes[c["$classname"]]

    def add(x):
        o.append(x)
        return UID(len(o) - 1)

    refs = []
    for b in bookmark_objects:
        d = {}
        for k, v in b.items():
            if k == "$class":
                d[k] = cls(v)
            elif isinstance(v, str):
                d[k] = add(v)
            else:
                d[k] = v
        refs.append(add(d))
    o[2] = {"NS.objects": refs, "$class": cls(MARRAY)}
    folders = add({"NS.objects": [add(f) if isinstance(f, str) else f for f in folder_names],
                   "$class": cls(MARRAY)})
    members = [UID(2), folders] + ([extra_root] if extra_root is not None else [])
    o[1] = {"NS.objects": members, "$class": cls(root_class)}
    return o


def malformed():
    good = {"$class": BOOKMARK, "name": "n", "location": "l", "number": 1, "folder": 0}
    write("root-with-three-elements.bookmarks", archive(document([good], extra_root=UID(0))))
    o = document([good])
    o[1] = {"NS.keys": [], "NS.objects": [], "$class": UID(len(o))}
    o.append({"$classname": "NSDictionary", "$classes": ["NSDictionary", "NSObject"]})
    write("root-is-a-dictionary.bookmarks", archive(o))
    write("other-class.bookmarks", archive(document(
        [good, {"$class": {"$classname": "NSURL", "$classes": ["NSURL", "NSObject"]}, "NS.relative": "x"}])))
    write("folder-not-a-string.bookmarks", archive(document([good], folder_names=FOLDERS[:5] + [42])))
    write("name-not-a-string.bookmarks", archive(document([dict(good, name=17)])))
    write("number-too-large.bookmarks", archive(document([dict(good, number=2 ** 40)])))
    o = document([good])
    o[2]["NS.objects"].append(UID(len(o) + 5))
    write("reference-out-of-range.bookmarks", archive(o))
    o = document([good])
    o[2]["NS.objects"].append(UID(2))  # the bookmark list holds itself
    write("cyclic.bookmarks", archive(o))
    o = document([good])
    o[1]["NS.objects"][1] = UID(len(o))  # folders: 5000 arrays each holding the next
    depth = 5000
    marray = o[2]["$class"]
    for i in range(depth):
        o.append({"NS.objects": [UID(len(o) + 1)] if i + 1 < depth else [], "$class": marray})
    write("deeply-nested.bookmarks", archive(o))


if __name__ == "__main__":
    independent()
    malformed()
