#!/usr/bin/env python3
"""Checks every relative link of every Markdown file in the repository.

    check-links.py

A link to a file or folder must lead to one that exists, and a link with an
anchor (#heading) must name a heading of its Markdown target, as GitHub makes
anchors from headings (a link into another kind of file may name lines,
#L10 or #L10-L20). Links to web addresses are not fetched. Each broken link is
printed as "file:line: link: why", and the exit status is 1 when there is one.
"""
import os
import re
import subprocess
import sys
import unicodedata
from urllib.parse import unquote

FENCE = re.compile(r"^ {0,3}(`{3,}|~{3,})")
ATX_HEADING = re.compile(r"^ {0,3}(#{1,6})(?:[ \t]+(.*?))?(?:[ \t]+#+)?[ \t]*$")
SETEXT_UNDERLINE = re.compile(r"^ {0,3}(=+|-+)[ \t]*$")
LIST_ITEM = re.compile(r"^( {0,3}(?:[-*+]|\d{1,9}[.)])[ \t]+)\S")
INLINE_LINK = re.compile(r"\]\(\s*(<[^>\n]*>|[^\s)]*(?:\([^\s)]*\)[^\s)]*)*)")
REFERENCE_DEFINITION = re.compile(r"^ {0,3}\[([^\]]+)\]:[ \t]*(<[^>\n]*>|\S+)", re.MULTILINE)
REFERENCE_USE = re.compile(r"\[((?:[^\[\]]|\[[^\[\]]*\])+)\]\[([^\]]*)\]")
HTML_LINK = re.compile(r"<(?:a|img)\b[^>]*?\b(?:href|src)=\"([^\"]*)\"", re.IGNORECASE)
HTML_ANCHOR = re.compile(r"<a\b[^>]*?\b(?:name|id)=\"([^\"]*)\"", re.IGNORECASE)
LINE_ANCHOR = re.compile(r"^L(\d+)(?:-L(\d+))?$")
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")


def slug(heading):
    """The anchor GitHub gives a heading's text: lower case, letters, digits,
    marks, spaces, hyphens and underscores kept, each space a hyphen."""
    kept = (c for c in heading.lower() if c in " -_" or unicodedata.category(c)[0] in "LNM")
    return "".join(kept).replace(" ", "-")


def heading_text(markdown):
    """What a heading shows: code spans, links and emphasis reduced to text."""
    text = re.sub(r"(`+)(.*?)\1", lambda m: m.group(2).strip(), markdown)
    text = re.sub(r"!?\[([^\]]*)\]\([^)]*\)", r"\1", text)
    text = re.sub(r"!?\[([^\]]*)\]\[[^\]]*\]", r"\1", text)
    text = re.sub(r"<[^>]+>", "", text)
    text = re.sub(r"(\*{1,3}|(?<!\w)_{1,3})(\S(?:.*?\S)?)\1(?!\w)", r"\2", text)
    return text.strip()


class Page:
    """A Markdown file as links are read from it: its text with code masked
    (so that no example counts as a link), and the anchors of its headings."""

    def __init__(self, path):
        with open(path, encoding="utf-8") as source:
            lines = source.read().split("\n")
        self.path = path
        self.anchors = set()
        used = {}
        fence = None
        previous = ""
        masked = []
        # An indented block after a blank line is code, unless it continues
        # the list item above it, whose own code is indented four more.
        list_indent = None
        in_code = False
        for line in lines:
            opening = FENCE.match(line)
            if fence:
                if opening and opening.group(1)[0] == fence[0] and len(opening.group(1)) >= len(fence) \
                        and not line.strip().strip(fence[0]):
                    fence = None
                masked.append("")
                previous = ""
                continue
            if opening:
                fence = opening.group(1)
                masked.append("")
                previous = ""
                continue
            indent = len(line) - len(line.lstrip(" ")) if line.strip() else None
            code_indent = 4 if list_indent is None else list_indent + 4
            if indent is not None and indent >= code_indent and (in_code or not previous.strip()):
                in_code = True
                masked.append("")
                continue
            if indent is not None:
                in_code = False
                item = LIST_ITEM.match(line)
                if item:
                    list_indent = len(item.group(1).expandtabs(4))
                elif indent == 0 and not previous.strip():
                    list_indent = None
            text = None
            atx = ATX_HEADING.match(line)
            if atx:
                text = atx.group(2) or ""
            elif previous.strip() and SETEXT_UNDERLINE.match(line) and not previous.startswith(("    ", "\t")):
                text = previous.strip()
            if text is not None:
                anchor = slug(heading_text(text))
                count = used.get(anchor, 0)
                used[anchor] = count + 1
                self.anchors.add(anchor if count == 0 else f"{anchor}-{count}")
            self.anchors.update(HTML_ANCHOR.findall(line))
            masked.append(line)
            previous = line
        text = "\n".join(masked)
        # Inline code, within a paragraph, keeps its place but not its text.
        self.text = re.sub(r"(`+)(?:(?!\n[ \t]*\n).)*?\1",
                           lambda m: re.sub(r"[^\n]", " ", m.group(0)), text, flags=re.DOTALL)

    def line_of(self, offset):
        return self.text.count("\n", 0, offset) + 1

    def links(self):
        """(line, destination) of every inline, reference and HTML link."""
        definitions = {}
        for match in REFERENCE_DEFINITION.finditer(self.text):
            definitions.setdefault(normal_label(match.group(1)), match.group(2))
            yield self.line_of(match.start()), match.group(2)
        for match in INLINE_LINK.finditer(self.text):
            yield self.line_of(match.start()), match.group(1)
        for match in HTML_LINK.finditer(self.text):
            yield self.line_of(match.start()), match.group(1)
        for match in REFERENCE_USE.finditer(self.text):
            label = normal_label(match.group(2) or match.group(1))
            if label not in definitions:
                yield self.line_of(match.start()), f"[{match.group(2) or match.group(1)}]"


def normal_label(label):
    return " ".join(label.split()).casefold()


def is_web_address(destination):
    destination = destination.strip("<>")
    return SCHEME.match(destination) is not None or destination.startswith("//")


def problem(root, page, destination, pages):
    """Why the link is broken, or None."""
    if destination.startswith("[") and destination.endswith("]"):
        return "no such link reference defined"
    destination = destination.strip("<>")
    if not destination:
        return "leads nowhere"
    target, _, anchor = (unquote(part) for part in destination.partition("#"))
    if target.startswith("/"):
        path = os.path.normpath(os.path.join(root, target.lstrip("/")))
    elif target:
        path = os.path.normpath(os.path.join(os.path.dirname(page.path), target))
    else:
        path = page.path
    if os.path.relpath(path, root).startswith(".."):
        return "leads out of the repository"
    if not os.path.exists(path):
        return "no such file or folder"
    if not anchor:
        return None
    if path.endswith(".md") and os.path.isfile(path):
        if path not in pages:
            pages[path] = Page(path)
        return None if anchor in pages[path].anchors else "no such heading"
    lines = LINE_ANCHOR.match(anchor)
    if lines and os.path.isfile(path):
        with open(path, encoding="utf-8", errors="replace") as target_file:
            count = sum(1 for _ in target_file)
        return None if int(lines.group(lines.lastindex)) <= count else "the file has fewer lines"
    return "an anchor into a file that is not Markdown names no lines"


def markdown_files(root):
    """Committed or not, but not ignored: what the next commit would hold.
    Outside a git checkout, such as the fault planting's copy of one, every
    Markdown file but those under build/."""
    inside = subprocess.run(["git", "rev-parse", "--is-inside-work-tree"], cwd=root, capture_output=True)
    if inside.returncode == 0:
        listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z", "--", "*.md"],
                                cwd=root, check=True, capture_output=True).stdout.decode("utf-8").split("\0")
    else:
        listed = []
        for folder, folders, names in os.walk(root):
            if folder == root and "build" in folders:
                folders.remove("build")
            listed += [os.path.relpath(os.path.join(folder, name), root) for name in names if name.endswith(".md")]
    return sorted({name for name in listed if name and os.path.isfile(os.path.join(root, name))})


def main():
    root = os.path.realpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    files = markdown_files(root)
    pages = {}
    broken = checked = 0
    for name in files:
        path = os.path.join(root, name)
        pages.setdefault(path, Page(path))
        for line, destination in sorted(pages[path].links()):
            if is_web_address(destination):
                continue
            checked += 1
            why = problem(root, pages[path], destination, pages)
            if why:
                broken += 1
                print(f"{name}:{line}: {destination}: {why}", file=sys.stderr)
    if broken:
        print(f"links: {broken} of {checked} relative links in {len(files)} Markdown files are broken", file=sys.stderr)
        return 1
    print(f"links: all {checked} relative links in {len(files)} Markdown files lead where they say")
    return 0


if __name__ == "__main__":
    sys.exit(main())
