#!/usr/bin/env python3
"""Builds the skin's language files and DefaultData/Language.config from the text lists.

Every data/skin/lang/*.txt line is "id<TAB>English<TAB>Simplified Chinese". English and
Simplified Chinese are translated; the other languages carry the English text until they are.
Run it after changing a list; the outputs are committed.
"""
import glob
import html
import json
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
SKIN = os.path.join(ROOT, "data", "skin")

# index order is the program's language index; the ids are the values stored as "LANGUAGE"
LANGUAGES = [
    ("zh_CN", "lan_cn.xml", 2052, 2),
    ("en", "lan_en.xml", 1033, 1),
    ("zh_TW", "lan_tw.xml", 1028, 1),
    ("ja", "lan_ja.xml", 1041, 1),
    ("ko", "lan_ko.xml", 1042, 1),
    ("de", "lan_de.xml", 1031, 1),
    ("fr", "lan_fr.xml", 1036, 1),
    ("es", "lan_es.xml", 1034, 1),
    ("it", "lan_it.xml", 1040, 1),
    ("pt", "lan_pt.xml", 1046, 1),
    ("ru", "lan_ru.xml", 1049, 1),
    ("pl", "lan_pl.xml", 1045, 1),
    ("tr", "lan_tr.xml", 1055, 1),
    ("vi", "lan_vi.xml", 1066, 1),
    ("id", "lan_id.xml", 1057, 1),
    ("th", "lan_th.xml", 1054, 1),
]


def rows():
    out = []
    for path in sorted(glob.glob(os.path.join(SKIN, "lang", "*.txt"))):
        with open(path, encoding="utf-8") as f:
            for line in f:
                line = line.rstrip("\n")
                if not line or line.startswith("#"):
                    continue
                parts = line.split("\t")
                if len(parts) >= 3:
                    out.append(parts[:3])
    return out


def main():
    texts = rows()
    for name, file, _, column in LANGUAGES:
        with open(os.path.join(SKIN, file), "w", encoding="utf-8") as o:
            o.write('<?xml version="1.0" encoding="utf-8"?>\n<Language name="%s">\n' % name)
            for r in texts:
                o.write('  <Text id="%s" value="%s"/>\n' % (r[0], html.escape(r[column], quote=True)))
            o.write("</Language>\n")
    # "Language_text" is the text id of the language's own name, listed by the settings window
    config = {"Language": [{"Language_name": n, "Language_file": f, "Language_ID": i,
                            "Language_text": "lang_" + n}
                           for n, f, i, _ in LANGUAGES]}
    with open(os.path.join(ROOT, "data", "DefaultData", "Language.config"), "w",
              encoding="utf-8") as o:
        o.write(json.dumps(config, indent=3, ensure_ascii=False) + "\n")


if __name__ == "__main__":
    main()
