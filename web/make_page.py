#!/usr/bin/env python3
"""Makes the web page one file: the template's style sheet and scripts put inside it, the
example's rules and one of its plans as data blocks, the version, and a security policy that allows exactly those
scripts and WebAssembly, and no connection, frame, form or base.

    make_page.py --version N --core brevanto_core.js --rules DEFAULT_CHECK.fpl --plan PLAN
                 --out PAGE TEMPLATE

The style sheet and the page's script are read beside the template; the module's script is
--core. A page opened from a disk cannot load a file beside it, hence one file.
"""

import argparse
import base64
import hashlib
import os
import re
import sys

# The module's loader asks fetch() for the data: URL that holds its WebAssembly before it decodes
# the URL itself: a data: URL is no connection, and the only one allowed. The style is inline,
# the HTML report's own included.
POLICY = ("default-src 'none'; script-src {scripts} 'wasm-unsafe-eval'; "
          "style-src 'unsafe-inline'; img-src data:; connect-src data:; "
          "base-uri 'none'; form-action 'none'")


def inline_script(code, hashes):
    if re.search(r"</script", code, re.IGNORECASE):
        sys.exit("a script holds '</script', which would end it inside the page")
    digest = base64.b64encode(hashlib.sha256(code.encode("utf-8")).digest()).decode()
    hashes.append(f"'sha256-{digest}'")
    return f"<script>{code}</script>"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--version", required=True)
    parser.add_argument("--core", required=True)
    parser.add_argument("--rules", required=True)
    parser.add_argument("--plan", required=True, help="a plan the page checks while it waits")
    parser.add_argument("--out", required=True)
    parser.add_argument("template")
    args = parser.parse_args()
    here = os.path.dirname(os.path.abspath(args.template))

    def read(path):
        with open(path, encoding="utf-8") as f:
            return f.read()

    page = read(args.template)
    hashes = []
    sources = {"brevanto_core.js": args.core, "page.js": os.path.join(here, "page.js")}
    for name, path in sources.items():
        tag = f'<script src="{name}"></script>'
        if page.count(tag) != 1:
            sys.exit(f"the template must load {name} once")
        page = page.replace(tag, inline_script(read(path), hashes))
    sheet = '<link rel="stylesheet" href="page.css">'
    page = page.replace(sheet, "<style>" + read(os.path.join(here, "page.css")) + "</style>")
    def base64_of(path):
        with open(path, "rb") as f:
            return base64.b64encode(f.read()).decode()
    fills = {
        '<meta http-equiv="Content-Security-Policy" content="">':
            f'<meta http-equiv="Content-Security-Policy" content="{POLICY.format(scripts=" ".join(hashes))}">',
        '<script type="text/plain" id="example-rules-file"></script>':
            f'<script type="text/plain" id="example-rules-file">{base64_of(args.rules)}</script>',
        '<script type="text/plain" id="example-plan-file"></script>':
            f'<script type="text/plain" id="example-plan-file">{base64_of(args.plan)}</script>',
        '<span id="version"></span>': f'<span id="version">{args.version}</span>',
    }
    for old, new in fills.items():
        if page.count(old) != 1:
            sys.exit(f"the template must hold {old} once")
        page = page.replace(old, new)
    with open(args.out + ".tmp", "w", encoding="utf-8", newline="\n") as f:
        f.write(page)
    os.replace(args.out + ".tmp", args.out)


if __name__ == "__main__":
    main()
