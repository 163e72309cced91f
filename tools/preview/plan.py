"""What a preview runs: one Setup run per language file a user can get, each under a locale whose
user gets that file, and which files of the medium the stand-in installer replaces.

The answers come from setup-check's JSON report, which reads the medium with the launcher's own
code and the seam's table of locales (platform/known_locales): its languageFiles say which
locales get which file (or that conf.xml forces one), its resolutions where each launch rule
leads for each of those users.
"""

import os
import xml.etree.ElementTree as ElementTree


class PlanError(Exception):
    """The medium or the options leave nothing to preview."""


class LanguageRun:
    """One Setup run: the language file it shows and the locale it runs under."""

    def __init__(self, code, file, locale, forced=False):
        self.code = code
        self.file = file  # relative to the medium, with "/"
        self.locale = locale  # ll_CC, as the seam's table spells it
        self.forced = forced

    def __repr__(self):
        return f"LanguageRun({self.code!r}, {self.locale!r})"

    def __eq__(self, other):
        return (self.code, self.file, self.locale, self.forced) == (other.code, other.file, other.locale, other.forced)


def preferred_locale(code, locales):
    """The locale a language file is previewed under: the one its code names (pt-pt: pt_PT), else
    the first of its language (ko-ko: ko_KR), else en_US, else the first that gets the file."""
    if not locales:
        return None
    language, _, country = code.lower().partition("-")
    named = f"{language}_{country.upper()}"
    if named in locales:
        return named
    for locale in locales:
        if locale.split("_")[0].lower() == language:
            return locale
    if "en_US" in locales:
        return "en_US"
    return locales[0]


def language_runs(report, language=None, locale=None):
    """The runs for a setup-check report: each language file that exists and that some user gets,
    once; only the one of `language` (a code) or the one `locale` gets when asked."""
    runs = []
    for entry in report.get("languageFiles", []):
        locales = entry.get("locales") or []
        if not entry.get("exists") or not locales:
            continue
        code = entry["code"]
        if language is not None and code.lower() != language.lower():
            continue
        if locale is not None:
            if locale not in locales:
                continue
            chosen = locale
        else:
            chosen = preferred_locale(code, locales)
        runs.append(LanguageRun(code, entry["file"], chosen, bool(entry.get("forced"))))
    if not runs:
        if language is not None:
            raise PlanError(f"no user gets a language file {language}.ini on this medium")
        if locale is not None:
            raise PlanError(f"{locale} is not a locale setup-check knows, or its user gets no language file")
        raise PlanError("no user gets any language file of this medium")
    return runs


def unused_language_files(report):
    """Language files on the medium that no user gets: the preview cannot show them."""
    return [entry["file"] for entry in report.get("languageFiles", [])
            if entry.get("exists") and not entry.get("locales")]


def installer_targets(report, locales):
    """Paths (relative to the medium, with "/") that the install list's rules open for these
    locales' users: the files the stand-in takes the place of."""
    wanted = set(locales)
    targets = set()
    for resolution in report.get("resolutions", []):
        if resolution.get("list") != "installs" or resolution.get("locale") not in wanted:
            continue
        path = resolution.get("path")
        if path and not resolution.get("isFolder"):
            targets.add(path)
    return sorted(targets)


def item_ids(medium):
    """The strId of each item of conf.xml's two lists, in list order: what row i of each list
    shows. Empty lists when conf.xml cannot be read here (setup-check reports why)."""
    try:
        root = ElementTree.parse(os.path.join(medium, "conf.xml")).getroot()
    except (OSError, ElementTree.ParseError):
        return {"installs": [], "manuals": []}
    ids = {}
    for name in ("installs", "manuals"):
        element = root.find(name)
        ids[name] = [item.get("strId") for item in element.findall("item")] if element is not None else []
    return ids
