#!/usr/bin/env python3
"""Writes the two example console logs in examples/ by simulating a CTF match.

It also writes a small season in examples/season/: a dozen matches of one
clan on two maps, with recurring players, one player who plays some matches
under another name, renames inside matches, and one match recorded a second
time by a client that joined late (its own chat and local messages, the same
game events from the moment it joined). The matches were played one evening a
day: the files' modification times say so, and examples/season-times.txt gives
the `--played-at` arguments that say so after a checkout, which loses those times.

And one evening on a server in examples/evening/: `server.log` as the server
saw it, and the recordings of five clients that were there for all of it or a
part (joined late, left early, both), each with the lines it saw from its
joining to its leaving, its own team's team chat and local messages of its own.
Every game event of the server is in at least one recording, so the recordings
together are the server's match.

The simulation is seeded, so the logs come out byte for byte the same on every
run. While it writes a line the script also keeps its own tally of what that
line means for the statistics (players, kills, flag runs, chat, renames), so
that the scenario tests can be checked against figures that do not come from
the C++ reader. Every written line is checked to be taken by the rule and row
it was written for, with the captures it was written with.

    scripts/make_example_logs.py            # writes examples/*.log and examples/season/
    scripts/make_example_logs.py --expect   # also prints the tallied figures
"""

import argparse
import collections
import os
import pathlib
import random
import re
import sys
import time

# --------------------------------------------------------------------------
# The game's message tables, as the reader matches them (case-insensitive,
# unanchored, first matching row wins).

CHAT_FILTER = r"(.*): (.*)"
CHAT_LINE = r"(.*)\^7: \^2(.*)"
SELF_GRENADE = r"No, (.*), you're supposed"
RENAME = r"(.*) renamed to (.*)"
OWNERLESS_SENTRY = r"n\^7's autosentry has been destroyed by (.*)!"
OWNERLESS_PREFIX = "n^7's autosentry"

# key, pattern, weapon, sentry, which versions have the row ("both", "b1", "b2")
KILL_ROWS = [
    ("gren", r"(.*) mistook (.*)'s grenade for", 7, False, "both"),
    ("rsplash", r"(.*) almost dodged (.*)'s rocket", 1, False, "both"),
    ("rdirect", r"(.*) ate (.*)'s rocket", 2, False, "both"),
    ("nail", r"(.*) was nailed by (.*)", 4, False, "both"),
    ("shotgun", r"(.*) was gunned down by (.*)", 5, False, "both"),
    ("sbullet", r"(.*) felt the wrath of (.*)'s autosentry", 12, False, "both"),
    ("srocket", r"(.*) swallowed a rocket from (.*)'s autosentry", 14, False, "both"),
    ("glsplash", r"(.*) ate (.*)'s grenade", 22, False, "both"),
    ("gldirect", r"(.*) failed to avoid (.*)'s grenade", 23, False, "both"),
    ("pipes", r"(.*) swallowed (.*)'s pipe", 24, False, "both"),
    ("body", r"(.*) is sniped by (.*)", 18, False, "both"),
    ("head", r"(.*) gets a bullet between the eyes from (.*)", 16, False, "both"),
    ("legs", r"(.*) gets his legs blown off by (.*)", 17, False, "both"),
    ("legs_f", r"(.*) gets her legs blown off by (.*)", 17, False, "b2"),
    ("nailgren", r"(.*) was shredded by (.*)'s nail", 6, False, "both"),
    ("pulse", r"(.*) was crisped by (.*)'s pulse", 11, False, "both"),
    ("dispenser", r"(.*) lost an argument with (.*)'s supply", 19, False, "both"),
    ("minigun", r"(.*) was floored by a hail of lead from (.*)'s minigun", 8, False, "both"),
    ("knife", r"(.*) is knifed by (.*)", 27, False, "both"),
    ("mirv", r"(.*) found himself on the wrong end of (.*)'s", 21, False, "both"),
    ("mirv_f", r"(.*) found herself on the wrong end of (.*)'s", 21, False, "b2"),
    ("rail", r"(.*) was railed by (.*)", 10, False, "both"),
    ("incendiary", r"(.*) was burnt to a crisp by (.*)", 31, False, "both"),
    ("flash", r"(.*) had his eyeballs melted (.*)'s flashbang", 20, False, "both"),
    ("flash_f", r"(.*) had her eyeballs melted (.*)'s flashbang", 20, False, "b2"),
    ("melee", r"(.*) was chopped to bits by (.*)", 3, False, "b2"),
    ("melee", r"(.*) was pummeled by (.*)", 3, False, "b1"),
    ("he", r"(.*) learned the true power of (.*)'s HE", 25, False, "both"),
    ("tranq", r"(.*) is put to sleep by (.*)", 28, False, "both"),
    ("halluc", r"(.*) expired from an overdose of (.*)'s hallucinogenic", 29, False, "both"),
    ("infection", r"(.*) succumbed to (.*)'s infection", 30, False, "both"),
    ("autorifle", r"(.*) received (.*)'s bullet spray", 26, False, "both"),
    ("wrench", r"(.*) got a wrench-shaped dent from (.*)", 9, False, "both"),
    ("napalm", r"(.*) found (.*)'s napalm", 32, False, "both"),
    ("sentry", r"(.*)'s autosentry has been destroyed by (.*)!", 13, True, "both"),
]

SUICIDE_ROWS = {
    1: [
        ("blew", r"(.*) blew himself", 1),
        ("swallowed", r"(.*) swallowed his own grenade", 7),
        ("nailbomb", r"(.*) learned how his nail bomb", 6),
        ("tripped", r"(.*) tripped on his", 22),
        ("argue", r"(.*) tried to argue", 12),
        ("polish", r"(.*) picked a bad time to polish", 12),
        ("fellout", r"(.*) fell out with his", 19),
        ("exploded", r"(.*) exploded along with his", 12),
        ("shocked", r"(.*) was shocked by his pulse", 11),
        ("dazzled", r"(.*) was dazzled by his own grenade", 20),
        ("gas", r"(.*) succumbed to his own gas", 29),
    ],
    2: [
        ("blew", r"(.*) blew (.*)self", 1),
        ("swallowed", r"(.*) swallowed (.*) own grenade", 7),
        ("nailbomb", r"(.*) learned how (.*) nail bomb", 6),
        ("tripped", r"(.*) tripped on", 22),
        ("he", r"(.*) underestimated the power of the HE charge", 25),
        ("argue", r"(.*) tried to argue", 12),
        ("polish", r"(.*) picked a bad time to polish", 12),
        ("heavy", r"(.*) learned just how heavy his autosentry", 12),
        ("exploded", r"(.*) exploded along with", 12),
        ("fellout", r"(.*) fell out with", 19),
        ("shocked", r"(.*) was shocked by his pulse", 11),
        ("shocked_f", r"(.*) was shocked by her pulse", 11),
        ("dazzled", r"(.*) was dazzled by (.*) own grenade", 20),
        ("cluster", r"(.*) spammed (.*)self with (.*) cluster", 21),
        ("gas", r"(.*) succumbed to (.*) own gas", 29),
        ("toasted", r"(.*) toasted (.*)self with (.*) napalm", 32),
        ("inferno", r"(.*) got trapped in (.*) own inferno", 32),
    ],
}

ENV_ROWS = {
    1: [("cratered", r"(.*) cratered"), ("sank", r"(.*) sank like a rock"),
        ("killed", r"(.*) killed himself"), ("melted", r"(.*) melted"),
        ("backflip", r"(.*) does a backflip into the lava")],
    2: [("cratered", r"(.*) cratered"), ("sank", r"(.*) sank like a rock"),
        ("killed", r"(.*) killed himself"), ("killed_f", r"(.*) killed herself"),
        ("melted", r"(.*) melted"), ("backflip", r"(.*) does a backflip into the lava"),
        ("cobra", r"(.*) fell under the hypnotic gaze of the king cobra"),
        ("laser", r"(.*) fell victim to the (.*) laser pit!"), ("squished", r"(.*) was squished")],
}

PICKUP_ROWS = [  # pattern, single (red slot) or by colour
    (r"(.*) took the flag", True), (r"(.*) took the (.*)flag", False),
    (r"(.*) grabbed the (.*)flag", False), (r"(.*) nabbed the (.*)flag", False),
    (r"(.*) snagged (.*)'s (.*)rag", False), (r"(.*) of the (.*) has taken the flag", True),
    (r"(.*) has taken the flag", True), (r"(.*) has taken the (.*)flag", False),
    (r"(.*) \((.*)\) has the SPAZ-BALL", True), (r"(.*) took the (.*) Cross", False),
]

CAPTURE_ROWS = [  # pattern, kind
    (r"(.*) has captured the flag in the (.*) base", 5), (r"(.*) has captured the (.*)flag", 0),
    (r"(.*) captured the (.*) (.*)flag", 0), (r"(.*) peed on (.*)'s (.*)rag", 0),
    (r"(.*) has captured the (.*) cross", 0), (r"(.*) capped (.*) \^7CP\^(.*)", 0),
    (r"(.*) is no match for the mighty (.*)\^7!", 1),
    (r"The (.*) flag has been captured, Nice job (.*) (.*)Team", 1),
    (r"(.*) shoves it up \^2GREENS\^7 backside", 4), (r"(.*) slams the ball on \^4BLUE\^7", 4),
    (r"(.*) shows \^1RED\^7 how its done", 4), (r"(.*) decides \^3YELLOW\^7 must lose", 4),
    (r"(.*) are down", 4), (r"(.*) is out", 4), (r"(.*) scores against the (.*) team", 4),
]

RETURN_ROWS = [r"(.*)the (.*) (.*)flag (.*)returned", r"(.*)the (.*)flag (.*)returned",
               r"(.*)rag (.*)returned", r"(.*)the (.*) (.*)cross (.*)returned",
               r"The Spaz-Ball has returned"]

DEFENSE_ROWS = [  # pattern, defense kind
    (r"(.*) defends the (.*) flag carrier!", 0), (r"(.*) teamkilled the (.*) team's flag carrier!", 1),
    (r"(.*) killed the (.*) team's flag carrier!", 2),
    (r"(.*) scores (.*) for fragging an enemy while capturing the flag!", 3),
    (r"(.*) defends the (.*) flag", 5), (r"(.*) defends the (.*) base", 5),
    (r"(.*) killed the (.*) team's flag carrier while carrying the enemy", 4),
]

TEAM_WORDS = ["red", "blue", "green", "yellow"]


def version_kill_rows(version):
    tag = "b2" if version == 2 else "b1"
    return [r for r in KILL_ROWS if r[4] in ("both", tag)]


class Captures:
    """One successful test of a pattern, with the reader's capture rules."""

    def __init__(self, m):
        self.caps = []
        for i in range(min(5, (m.re.groups + 1))):
            text = m.group(i)
            if not text:
                break
            self.caps.append(text)

    def capture(self, i):
        if i < len(self.caps):
            return self.caps[i]
        return self.caps[0] if self.caps else ""


def test(pattern, line):
    m = re.search(pattern, line, re.IGNORECASE)
    return Captures(m) if m else None


def route(line, version):
    """(rule, row, match) of the rule and row that take the line."""
    if not line:
        return ("empty", 0, None)
    if test(CHAT_FILTER, line):
        m = test(CHAT_LINE, line)
        return ("chat", 0, m) if m else ("chat-dropped", 0, None)
    for rule, pattern in (("selfgren", SELF_GRENADE), ("rename", RENAME)):
        m = test(pattern, line)
        if m:
            return (rule, 0, m)
    if test(OWNERLESS_SENTRY, line) and line[:16] == OWNERLESS_PREFIX:
        return ("ownerless", 0, None)
    groups = [("kill", [r[1] for r in version_kill_rows(version)]),
              ("pickup", [r[0] for r in PICKUP_ROWS]),
              ("capture", [r[0] for r in CAPTURE_ROWS]),
              ("return", RETURN_ROWS),
              ("suicide", [r[1] for r in SUICIDE_ROWS[version]]),
              ("env", [r[1] for r in ENV_ROWS[version]]),
              ("defense", [r[0] for r in DEFENSE_ROWS])]
    for rule, patterns in groups:
        for i, pattern in enumerate(patterns):
            m = test(pattern, line)
            if m:
                return (rule, i, m)
    return ("none", 0, None)


# --------------------------------------------------------------------------
# The tally: what the statistics of the match are after each line.

def normalise(raw):
    skip = 2 if raw.startswith("^3") else 0
    if raw[skip:skip + 2] == "^7":
        skip += 2
    if len(raw) - skip - 1 < 1:
        return raw
    text = raw[skip:]
    if raw.endswith("^7"):
        text = text[:-2]
    text = text[:27]
    if text.endswith("^*"):
        text = text[:-2]
    return text + "^7"


def strip_codes(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "^":
            i += 2
            continue
        out.append(text[i])
        i += 1
    return "".join(out)


def colours(text):
    low = text.lower()
    return [w for w in TEAM_WORDS if w in low]


COUNTERS = ["mm1", "selfGren", "kills", "deaths", "suicides", "tks", "tkDeaths", "touches",
            "caps", "drops", "c2cs", "flagSaves"]


class Record:
    def __init__(self, name, pid):
        self.name = name
        self.stripped = strip_codes(name)
        self.id = pid
        self.rank = 0
        self.grenRatio = 0
        for c in COUNTERS:
            setattr(self, c, 0)
        self.killCount = [0] * 75
        self.weapKills = [0] * 35
        self.weapDeaths = [0] * 35
        self.defenses = [0] * 6


class Tally:
    def __init__(self):
        self.players = []
        self.team_scores = [0, 0, 0, 0]
        self.chat = []
        self.started = False
        self.carrier = [-1, -1]
        self.state = [0, 0]
        self.savers = [[], []]

    def find(self, raw, create):
        key = normalise(raw)
        for p in self.players:
            if p.name == key:
                return p
        if not create:
            return None
        p = Record(key, len(self.players))
        self.players.append(p)
        return p

    def by_id(self, pid):
        return next((p for p in self.players if p.id == pid), None)

    def chat_line(self, speaker, text):
        if not self.started:
            return
        p = self.find(speaker, False)
        if p:
            p.mm1 += 1
        self.chat.append((speaker, text))

    def self_grenade(self, raw):
        self.started = True
        self.find(raw, True).selfGren += 1

    def rename(self, old_raw, new_raw):
        old = self.find(old_raw, False)
        if old is None:
            return
        new = self.find(new_raw, False)
        if new is old:
            return
        if new is None:
            old.name = normalise(new_raw)
            old.stripped = strip_codes(old.name)
            return
        for c in COUNTERS:
            setattr(new, c, getattr(new, c) + getattr(old, c))
        for arr in ("killCount", "weapKills", "weapDeaths", "defenses"):
            setattr(new, arr, [a + b for a, b in zip(getattr(new, arr), getattr(old, arr))])
        # Kills of the old name stay in the kill matrix: every player's column
        # of the old record is added into the survivor's column before it goes.
        for p in self.players:
            if p is not old:
                p.killCount[new.id] += p.killCount[old.id]
        gone = old.id
        self.players.remove(old)
        for p in self.players:
            if p.id > gone:
                p.id -= 1
            p.killCount = p.killCount[:gone] + p.killCount[gone + 1:] + [0]

        # Flag slots follow the records: the removed id becomes the survivor's.
        def remap(pid):
            if pid == gone:
                return new.id
            return pid - 1 if pid > gone else pid
        self.carrier = [remap(c) for c in self.carrier]
        self.savers = [[remap(s) for s in lst] for lst in self.savers]

    def kill(self, killer_raw, victim_raw, weapon, sentry):
        self.started = True
        team_kill = killer_raw.startswith("ally ")
        if team_kill:
            killer_raw = killer_raw[5:]
        killer = self.find(killer_raw, True)
        victim = self.find(victim_raw, True)
        if killer is victim:
            killer.suicides += 1
            killer.killCount[killer.id] += 1
            return
        if team_kill:
            if sentry:
                return
            killer.tks += 1
            killer.killCount[victim.id] += 1
            victim.tkDeaths += 1
            self.carrier = [-1 if c == victim.id else c for c in self.carrier]
            return
        killer.kills += 1
        if not sentry:
            victim.deaths += 1
            killer.killCount[victim.id] += 1
        killer.weapKills[weapon] += 1
        victim.weapDeaths[weapon] += 1
        killer.grenRatio = 100 * killer.weapKills[7] // killer.kills
        for f in (0, 1):
            if self.carrier[f] == victim.id:
                self.savers[f].append(killer.id)
                self.carrier[f] = -1
                self.state[f] = 2

    def pickup(self, raw, flags):
        self.started = True
        p = self.find(raw, True)
        for f in flags:
            self.carrier[f] = p.id
            self.state[f] = 1 if self.state[f] == 0 else 2
        p.touches += 1
        p.drops += 1

    def _close(self, f):
        c = self.by_id(self.carrier[f])
        if c is None:
            return None
        self.carrier[f] = -1
        if self.state[f] == 1:
            c.c2cs += 1
        self.state[f] = 0
        self.savers[f] = []
        return c

    def capture(self, kind, m):
        self.started = True
        capper = None
        if kind == 0:
            capper = self.find(m.capture(1), True)
            for f in (0, 1):
                if self.carrier[f] == capper.id:
                    if self.state[f] == 1:
                        capper.c2cs += 1
                    self.state[f] = 0
                    self.carrier[f] = -1
                    self.savers[f] = []
                    self.team_scores[1 if f == 0 else 0] += 1
        elif kind == 1:
            words = colours(m.capture(1))
            if "red" in words:
                capper = self._close(0)
                if capper:
                    self.team_scores[1] += 1
            if "blue" in words:
                capper = self._close(1)
                if capper is None:
                    return
                self.team_scores[0] += 1
        elif kind == 4:
            capper = self._close(0)
            if capper is None:
                return
            for t, w in enumerate(TEAM_WORDS):
                if w in m.capture(0).lower():
                    self.team_scores[t] -= 1
        elif kind == 5:
            words = colours(m.capture(2))
            if "red" in words:
                self.team_scores[1] += 1
            if "blue" in words:
                self.team_scores[0] += 1
            capper = self._close(0)
        if capper:
            capper.caps += 1
            capper.drops -= 1

    def flag_return(self, m):
        self.started = True
        f = 1 if "blue" in m.capture(0).lower() else 0
        self.state[f] = 0
        self.carrier[f] = -1
        self._credit(f)

    def _credit(self, f):
        for pid in self.savers[f]:
            p = self.by_id(pid)
            if p:
                p.flagSaves += 1
        self.savers[f] = []

    def defense(self, raw, kind):
        self.find(raw, True).defenses[kind] += 1

    def finish(self):
        for f in (0, 1):
            self._credit(f)
        for p in self.players:
            for arr in (p.weapKills, p.weapDeaths):
                arr[0] = arr[1] + arr[2]
                arr[15] = arr[16] + arr[17] + arr[18]
            d = p.defenses
            p.rank = (5 * (p.caps + 4 * p.c2cs + d[0] - d[1] + 2 * d[3] + 4 * d[4])
                      + 2 * (p.touches + p.flagSaves + 2 * d[2] + d[5])
                      + p.kills - p.deaths - p.suicides - p.tks)


# --------------------------------------------------------------------------
# Awards: each selected award sorts the shared list, so ties depend on order.

AWARDS = [
    ("AutoAimer Award", lambda p: p.kills, True, True, "^*with ", " frag.", " frags."),
    ("Fragmaster Award", lambda p: p.rank, True, True, "^*with a rank of ", ".", "."),
    ("Autosentry Demolisher Award", lambda p: p.weapKills[13], True, False,
     "^*for destroying an autosentry ", " time.", " times."),
    ("Friends? We dont't need no stinkin' friends! Award", lambda p: p.tks, True, False,
     "^*with ", " teamkill.", " teamkills."),
    ("Coaster Award", lambda p: p.c2cs, True, False, "^*with ",
     " coast to coast flag capture.", " coast to coast flag captures."),
    ("Sly Fox Award", lambda p: p.deaths, False, True, "^*for only being fragged ",
     " time.", " times."),
    ("Dr. Jack Award", lambda p: p.suicides, True, False, "^*for comitting suicide ",
     " time.", " times."),
    ("Touchdown Award", lambda p: p.caps, True, False, "^*for capping the flag ",
     " time.", " times."),
    ("Flag Saves Award", lambda p: p.flagSaves, True, False, "^*with ", " flag save.",
     " flag saves."),
    ("Butterfingers Award", lambda p: p.drops, True, False, "^*for dropping the flag ",
     " time.", " times."),
    ("Cannon Fodder Award", lambda p: p.deaths, True, True, "^*with a total of ", " death.",
     " deaths."),
    ("Jack Rabbit Award", lambda p: p.touches, True, False, "^*for touching the flag ",
     " time.", " times."),
    ("Throw the pin, not the grenade! Award", lambda p: p.selfGren, True, False,
     "^*for sitting on their grenade ", " time.", " times."),
    ("Lucky Shot Award", lambda p: p.weapKills[16], True, False, "^*for having ",
     " headshot.", " headshots."),
    ("Up Yours! Award", lambda p: p.weapKills[2], True, False, "^*for ",
     " direct rocket kill.", " direct rocket kills."),
    ("All-Gren Award", lambda p: p.grenRatio, True, False, "^*for getting ",
     "% of their kills by grenade.", "% of their kills by grenade."),
    ("Zefa Newbie Award", lambda p: p.rank, False, True, "^*with a rank of ", ".", "."),
    ("Blabbermouth Award", lambda p: p.mm1, True, False, "^*for talking a whopping ",
     " time.", " times."),
]


def award_results(players):
    order = list(players)
    results = []
    for _name, key, descending, allow_zero, prefix, singular, plural in AWARDS:
        if descending:  # ties come out in the reverse of their previous order
            order = sorted(reversed(order), key=key, reverse=True)
        else:
            order = sorted(order, key=key)
        best = key(order[0])
        winners = [p.name for p in order if key(p) == best]
        if best == 0 and not allow_zero:
            results.append("")
            continue
        results.append(", ".join(winners) + " " + prefix + str(best)
                       + (singular if best == 1 else plural))
    return results


# --------------------------------------------------------------------------
# The match simulation.

RED, BLUE = "red", "blue"
COLOUR_TEXT = {RED: "^1RED^7", BLUE: "^4BLUE^7"}
FLAG_OF = {RED: 0, BLUE: 1}      # the flag a team defends
ENEMY = {RED: BLUE, BLUE: RED}

CLASS_KILLS = {
    "soldier": {"rsplash": 6, "rdirect": 4, "shotgun": 2, "gren": 2, "nailgren": 1, "melee": 1},
    "sniper": {"head": 3, "legs": 2, "body": 5, "autorifle": 2, "nail": 1, "gren": 1, "melee": 1},
    "demoman": {"glsplash": 4, "gldirect": 2, "pipes": 4, "mirv": 2, "he": 1, "gren": 2,
                "shotgun": 1, "melee": 1},
    "medic": {"infection": 3, "nail": 5, "gren": 2, "shotgun": 2, "melee": 1},
    "hwguy": {"minigun": 8, "shotgun": 2, "mirv": 2, "gren": 1, "melee": 1},
    "pyro": {"incendiary": 6, "napalm": 3, "gren": 1, "shotgun": 2, "melee": 1},
    "spy": {"knife": 5, "tranq": 2, "halluc": 2, "nail": 2, "gren": 1, "melee": 1},
    "engineer": {"sbullet": 6, "srocket": 2, "dispenser": 1, "wrench": 1, "pulse": 1,
                 "rail": 3, "gren": 1, "shotgun": 1},
    "scout": {"shotgun": 3, "nail": 3, "flash": 2, "gren": 1, "melee": 2},
}
CLASS_SUICIDES = {
    "soldier": ["blew", "nailbomb", "swallowed"],
    "sniper": ["swallowed"],
    "demoman": ["tripped", "swallowed", "he", "cluster"],
    "medic": ["swallowed", "blew"],
    "hwguy": ["swallowed", "cluster"],
    "pyro": ["toasted", "inferno", "swallowed"],
    "spy": ["gas", "swallowed"],
    "engineer": ["argue", "polish", "fellout", "exploded", "shocked", "heavy"],
    "scout": ["dazzled", "swallowed"],
}

# Kill lines; {v} is the victim, {k} the killer (or the sentry's owner's destroyer).
KILL_TEXT = {
    "gren": "{v} mistook {k}'s grenade for a football",
    "rsplash": "{v} almost dodged {k}'s rocket",
    "rdirect": "{v} ate {k}'s rocket",
    "nail": "{v} was nailed by {k}",
    "shotgun": "{v} was gunned down by {k}",
    "sbullet": "{v} felt the wrath of {k}'s autosentry",
    "srocket": "{v} swallowed a rocket from {k}'s autosentry",
    "glsplash": "{v} ate {k}'s grenade",
    "gldirect": "{v} failed to avoid {k}'s grenade",
    "pipes": "{v} swallowed {k}'s pipebomb",
    "body": "{v} is sniped by {k}",
    "head": "{v} gets a bullet between the eyes from {k}",
    "legs": "{v} gets his legs blown off by {k}",
    "legs_f": "{v} gets her legs blown off by {k}",
    "nailgren": "{v} was shredded by {k}'s nail grenade",
    "pulse": "{v} was crisped by {k}'s pulse grenade",
    "dispenser": "{v} lost an argument with {k}'s supply station",
    "minigun": "{v} was floored by a hail of lead from {k}'s minigun",
    "knife": "{v} is knifed by {k}",
    "mirv": "{v} found himself on the wrong end of {k}'s MIRV grenade",
    "mirv_f": "{v} found herself on the wrong end of {k}'s MIRV grenade",
    "rail": "{v} was railed by {k}",
    "incendiary": "{v} was burnt to a crisp by {k}",
    "flash": "{v} had his eyeballs melted {k}'s flashbang",
    "flash_f": "{v} had her eyeballs melted {k}'s flashbang",
    "melee": {1: "{v} was pummeled by {k}", 2: "{v} was chopped to bits by {k}"},
    "he": "{v} learned the true power of {k}'s HE charge",
    "tranq": "{v} is put to sleep by {k}",
    "halluc": "{v} expired from an overdose of {k}'s hallucinogenic gas",
    "infection": "{v} succumbed to {k}'s infection",
    "autorifle": "{v} received {k}'s bullet spray",
    "wrench": "{v} got a wrench-shaped dent from {k}",
    "napalm": "{v} found {k}'s napalm grenade",
    "sentry": "{v}'s autosentry has been destroyed by {k}!",
}
# Suicide lines; {x} the player, {his} and {self} follow the player.
SUICIDE_TEXT = {
    "blew": "{x} blew {self} up",
    "swallowed": "{x} swallowed {his} own grenade",
    "nailbomb": "{x} learned how {his} nail bomb works",
    "tripped": "{x} tripped on {his} own pipebombs",
    "he": "{x} underestimated the power of the HE charge",
    "argue": "{x} tried to argue with {his} sentry gun",
    "polish": "{x} picked a bad time to polish {his} sentry",
    "heavy": "{x} learned just how heavy his autosentry is",
    "exploded": "{x} exploded along with {his} sentry",
    "fellout": "{x} fell out with {his} dispenser",
    "shocked": "{x} was shocked by his pulse grenade",
    "shocked_f": "{x} was shocked by her pulse grenade",
    "dazzled": "{x} was dazzled by {his} own grenade",
    "cluster": "{x} spammed {self} with {his} cluster bombs",
    "gas": "{x} succumbed to {his} own gas",
    "toasted": "{x} toasted {self} with {his} napalm",
    "inferno": "{x} got trapped in {his} own inferno",
}
ENV_TEXT = {
    "cratered": "{x} cratered", "sank": "{x} sank like a rock", "killed": "{x} killed himself",
    "killed_f": "{x} killed herself", "melted": "{x} melted",
    "backflip": "{x} does a backflip into the lava",
    "cobra": "{x} fell under the hypnotic gaze of the king cobra",
    "laser": "{x} fell victim to the ^1RED^7 laser pit!", "squished": "{x} was squished",
}
# Flag lines by row of the pick-up, capture and return tables; {x} the carrier,
# {c} the flag's colour, {t} the carrier's team colour.
PICKUP_TEXT = [
    "{x} took the flag", "{x} took the {c} flag", "{x} grabbed the {c} flag!",
    "{x} nabbed the {c} flag", "{x} snagged the {c} team's rag",
    "{x} of the {t} team has taken the flag", "{x} has taken the flag!",
    "{x} has taken the {c} flag", "{x} ({t}) has the SPAZ-BALL", "{x} took the {c} Cross",
]
CAPTURE_TEXT = [
    "{x} has captured the flag in the {c} base", "{x} has captured the {c} flag!",
    "{x} captured the {c} team's flag", "{x} peed on the {c} team's rag",
    "{x} has captured the {c} cross", "{x} capped the {c} flag ^7CP^3+10",
    "The {c} flag is no match for the mighty {t}!",
    "The {c} flag has been captured, Nice job {t} Team",
    "{x} shoves it up ^2GREENS^7 backside", "{x} slams the ball on ^4BLUE^7",
    "{x} shows ^1RED^7 how its done", "{x} decides ^3YELLOW^7 must lose",
    "The ^2GREEN^7 defence are down", "Team ^3YELLOW^7 is out",
    "{x} scores against the ^1RED^7 team",
]
# Team words the scoring-event rows above take a point from.
SCORING_LOSERS = {8: [2], 9: [1], 10: [0], 11: [3], 12: [2], 13: [3], 14: [0]}
RETURN_TEXT = [
    "The {c} flag has been returned to base", "The {c}flag has returned",
    "The {c} team's rag was returned", "The {c} cross has been returned",
    "The Spaz-Ball has returned",
]
DEFENSE_TEXT = [
    "{x} defends the {c} flag carrier!", "{x} teamkilled the {c} team's flag carrier!",
    "{x} killed the {c} team's flag carrier!",
    "{x} scores 10 points for fragging an enemy while capturing the flag!",
    "{x} defends the {c} flag", "{x} defends the {c} base",
    "{x} killed the {c} team's flag carrier while carrying the enemy flag!",
]

CHAT_TEXTS = [
    "gg", "lol", "nice shot", "incoming!", "need a medic at the ramp", "our flag is gone",
    "get that carrier!", "who has our flag?", "sentry up at the flag room", "rofl",
    "omg lag", "sry", "np", "d'oh", "cover me", "go go go", "thx", "defend the base pls",
    "2 in the water", "spy in base!", "that was close", "haha", "heal me!",
    "I was railed by a wall again", "who took the flag?", "one more cap and we win",
    "their demo is out of control", "wtb dispenser", "he renamed to a newbie name",
    "the red flag has been returned, push now", "brb", "back", "mid is clear",
]
PRESTART_CHAT = ["hi all", "gl hf", "which map next?", "warmup pls", "ready", "hf"]

MAP_LOAD_NOISE = [
    "------ Server Initialization ------", "Server: zf_{map}", "Hunk_Clear: reset the hunk ok",
    "----- R_Init -----", "Loading vm file vm/cgame.qvm...",
    "VM file cgame compiled to 1063541 bytes of code", "~JIT compiled cgame.qvm",
    "----- CL_Shutdown -----", "RE_Shutdown( 0 )", "----- Client Initialization -----",
    "Sound memory manager started", "Loading map zf_{map}", "", "gamename: zefa",
    "gamedate: Mar  9 2004", "Zefa TF mod initialised", "-----------------------------------",
    "Connecting to zefa.example.net:27960...", "Map: zf_{map}", "^3Welcome to the ^1Zefa^7 server!",
    "",
]
GAME_NOISE = [
    "Timelimit: 30 minutes", "^3Server is running Zefa TF", "Vote passed.",
    "^1RED^7 leads the match", "^4BLUE^7 leads the match", "The teams are tied",
    "Sentry gun built.", "Detpack set for 10 seconds.", "You are on fire!",
    "Your grenade timer has started", "Not enough ammo.", "Changing class...",
    "You will respawn as Demoman", "ping: 64  rate: 25000", "(Waiting for players...)",
    "^3Server: map rotation continues with zf_well", "score 42 ping 80", "",
    "Dispenser built.", "Your sentry gun is under attack!", "Flag status: carried",
]


class Gamer:
    def __init__(self, display, team, cls, female=False, skill=1.0):
        self.display = display  # the name as the player set it
        self.team = team
        self.cls = cls
        self.female = female
        self.skill = skill
        self.active = False

    @property
    def msg(self):  # the game appends "^7" after a name in its messages
        return self.display + "^7"

    @property
    def his(self):
        return "her" if self.female else "his"

    @property
    def self_word(self):
        return "herself" if self.female else "himself"


class Simulation:
    def __init__(self, version, seed, map_name):
        self.version = version
        self.rng = random.Random(seed)
        self.map = map_name
        self.tally = Tally()
        self.lines = []          # (text, crlf)
        self.gamers = []
        self.flag = [None, None]  # in the game: None at base, a Gamer, or "dropped"
        self.used = collections.Counter()
        self.kill_rows = version_kill_rows(version)
        self.version_lines = {1: 0, 2: 0}
        self.team_only = {}  # line index: the team that alone sees the line

    # -- writing ---------------------------------------------------------
    def emit(self, text, rule, row=None, caps=None, crlf=False):
        r_rule, r_row, m = route(text, self.version)
        assert r_rule == rule and (row is None or r_row == row), (text, rule, row, r_rule, r_row)
        for i, want in (caps or {}).items():
            assert m.capture(i) == want, (text, i, m.capture(i), want)
        self.used[(rule, r_row)] += 1
        for v in (1, 2):
            if route(text, v)[0] in ("kill", "suicide", "env"):
                self.version_lines[v] += 1
        if not crlf and text and self.rng.random() < 0.006:
            crlf = True
        self.lines.append((text, crlf))
        return m

    def noise(self, text):
        """A line the game prints that no rule counts."""
        rule = route(text, self.version)[0]
        assert rule in ("none", "chat-dropped", "empty"), (text, rule)
        self.emit(text, rule)

    def say(self, g, text):
        m = self.emit(f"{g.msg}: ^2{text}", "chat", caps={1: g.display, 2: text})
        self.tally.chat_line(m.capture(1), m.capture(2))

    def team_say(self, g, text):
        self.team_only[len(self.lines)] = g.team
        self.noise(f"({g.msg}): ^5{text}")

    # -- the match -------------------------------------------------------
    def active(self, team=None):
        return [g for g in self.gamers if g.active and (team is None or g.team == team)]

    def join(self, g):
        if g not in self.gamers:
            self.gamers.append(g)
        g.active = True
        self.noise(f"{g.msg} connected")
        self.noise(f"{g.msg} entered the game")
        self.noise(f"{g.msg} joined the {COLOUR_TEXT[g.team]} team.")

    def leave(self, g):
        for f in (0, 1):
            if self.flag[f] is g:
                self.carrier_dies(f)
        g.active = False
        self.noise(f"{g.msg} disconnected")

    def carrying(self, g):
        return [f for f in (0, 1) if self.flag[f] is g]

    def carrier_dies(self, f):
        self.flag[f] = "dropped"

    def kill(self, killer, victim, key=None, ally=False):
        if key is None:
            key = self.pick_weapon(killer, victim)
        row = next(i for i, r in enumerate(self.kill_rows) if r[0] == key)
        weapon, sentry = self.kill_rows[row][2], self.kill_rows[row][3]
        text = KILL_TEXT[key]
        if isinstance(text, dict):
            text = text[self.version]
        k = ("ally " if ally else "") + killer.msg
        self.emit(text.format(v=victim.msg, k=k), "kill", row, {1: victim.msg, 2: k})
        self.tally.kill(k, victim.msg, weapon, sentry)
        if sentry:
            return
        for f in self.carrying(victim):  # the game announces every carrier kill
            self.carrier_dies(f)
            if ally:
                self.defense(killer, 1, COLOUR_TEXT[victim.team])
            elif self.carrying(killer):
                self.defense(killer, 6, COLOUR_TEXT[victim.team])
            else:
                self.defense(killer, 2, COLOUR_TEXT[victim.team])
            return
        if ally:
            return
        r = self.rng.random()
        if self.carrying(killer) and r < 0.25:
            self.defense(killer, 3)
        elif any(self.flag[FLAG_OF[ENEMY[killer.team]]] is g for g in self.active(killer.team)) \
                and r < 0.2:
            self.defense(killer, 0, COLOUR_TEXT[killer.team])
        elif r < 0.04:
            self.defense(killer, self.rng.choice([4, 5]), COLOUR_TEXT[killer.team])

    def pick_weapon(self, killer, victim):
        table = CLASS_KILLS[killer.cls]
        keys = list(table)
        key = self.rng.choices(keys, [table[k] for k in keys])[0]
        if victim.female and key in ("legs", "mirv", "flash"):
            key += "_f"
        return key

    def defense(self, g, row, colour=""):
        m = self.emit(DEFENSE_TEXT[row].format(x=g.msg, c=colour), "defense", row, {1: g.msg})
        self.tally.defense(m.capture(1), DEFENSE_ROWS[row][1])

    def destroy_sentry(self, destroyer, owner, ally=False):
        self.kill(destroyer, owner, "sentry", ally)

    def suicide(self, g, key=None):
        keys = [r[0] for r in SUICIDE_ROWS[self.version]]
        if key is None:
            choices = [("shocked_f" if k == "shocked" and g.female else k)
                       for k in CLASS_SUICIDES[g.cls]]
            choices = [k for k in choices if k in keys and not (k == "heavy" and g.female)]
            fresh = [k for k in choices if self.used[("suicide", keys.index(k))] == 0]
            key = fresh[0] if fresh else self.rng.choice(choices)
        text = SUICIDE_TEXT[key].format(x=g.msg, his=g.his, self=g.self_word)
        self.emit(text, "suicide", keys.index(key), {1: g.msg})
        w = SUICIDE_ROWS[self.version][keys.index(key)][2]
        self.tally.kill(g.msg, g.msg, w, False)
        for f in self.carrying(g):
            self.carrier_dies(f)

    def environment(self, g, key=None):
        keys = [r[0] for r in ENV_ROWS[self.version]]
        if key is None:
            key = self.rng.choice(keys)
            if key == "killed" and g.female:
                key = "killed_f"
            if key == "killed_f" and not g.female:
                key = "killed"
        self.emit(ENV_TEXT[key].format(x=g.msg), "env", keys.index(key), {1: g.msg})
        self.tally.kill(g.msg, g.msg, 34, False)
        for f in self.carrying(g):
            self.carrier_dies(f)

    def self_grenade(self, g):
        m = self.emit(f"No, {g.msg}, you're supposed to THROW the grenade!", "selfgren",
                      caps={1: g.msg})
        self.tally.self_grenade(m.capture(1))
        if self.rng.random() < 0.7:
            self.suicide(g, "swallowed")

    def rename(self, g, new_display, old_msg=None):
        old = old_msg or g.msg
        m = self.emit(f"{old} renamed to {new_display}", "rename",
                      caps={1: old, 2: new_display})
        self.tally.rename(m.capture(1), m.capture(2))
        if g is not None:
            g.display = new_display

    # -- flags -------------------------------------------------------------
    def next_row(self, rule, choices, weights):
        fresh = [c for c in choices if self.used[(rule, c)] == 0]
        if fresh:
            return fresh[0]
        return self.rng.choices(choices, weights)[0]

    def pickup(self, f, g, row=None):
        colour = COLOUR_TEXT[RED if f == 0 else BLUE]
        if row is None:
            rows = list(range(10)) if f == 0 else [1, 2, 3, 4, 7, 9]
            weights = [1, 6, 4, 2, 1, 1, 1, 3, 1, 1] if f == 0 else [6, 4, 2, 1, 3, 1]
            row = self.next_row("pickup", rows, weights)
        text = PICKUP_TEXT[row].format(x=g.msg, c=colour, t=COLOUR_TEXT[g.team])
        m = self.emit(text, "pickup", row, {1: g.msg})
        flags = [0] if PICKUP_ROWS[row][1] else [i for i, w in enumerate((RED, BLUE))
                                                 if w in colours(m.capture(2))]
        assert flags == [f], (text, flags)
        self.tally.pickup(m.capture(1), flags)
        self.flag[f] = g

    def capture(self, f, row=None):
        g = self.flag[f]
        if row is None:
            rows = list(range(15)) if f == 0 else [1, 2, 3, 4, 5, 6, 7]
            weights = [1, 8, 5, 1, 1, 1, 1, 1] + [0.3] * 7 if f == 0 else [8, 5, 1, 1, 1, 1, 1]
            row = self.next_row("capture", rows, weights)
        colour = COLOUR_TEXT[RED if f == 0 else BLUE]
        text = CAPTURE_TEXT[row].format(x=g.msg, c=colour, t=COLOUR_TEXT[g.team])
        kind = CAPTURE_ROWS[row][1]
        m = self.emit(text, "capture", row, {1: g.msg} if kind == 0 else None)
        if kind == 4:
            assert [TEAM_WORDS.index(w) for w in colours(m.capture(0))] == SCORING_LOSERS[row]
        self.tally.capture(kind, m)
        self.flag[f] = None

    def flag_return(self, f, row=None):
        if row is None:
            rows = [0, 1, 2, 3, 4] if f == 0 else [0, 1, 2, 3]
            row = self.next_row("return", rows, [8, 2, 1, 1, 1][:len(rows)])
        colour = COLOUR_TEXT[RED if f == 0 else BLUE]
        m = self.emit(RETURN_TEXT[row].format(c=colour), "return", row)
        assert (1 if "blue" in m.capture(0).lower() else 0) == f
        self.tally.flag_return(m)
        self.flag[f] = None

    def flag_step(self):
        f = self.rng.choice((0, 1))
        state = self.flag[f]
        attackers = self.active(BLUE if f == 0 else RED)
        if state is None:
            self.pickup(f, self.rng.choice(attackers))
        elif state == "dropped":
            if self.rng.random() < 0.55:
                self.flag_return(f)
            else:
                self.pickup(f, self.rng.choice(attackers))
        elif self.rng.random() < 0.4:
            self.capture(f)

    def settle(self, f):
        """Brings flag f back to its base with ordinary lines."""
        if isinstance(self.flag[f], Gamer):
            carrier = self.flag[f]
            self.kill(self.rng.choice(self.active(ENEMY[carrier.team])), carrier)
        if self.flag[f] == "dropped":
            self.flag_return(f, 0)

    # -- one random event --------------------------------------------------
    def step(self):
        r = self.rng.random()
        players = self.active()
        if r < 0.60:
            killer = self.rng.choices(players, [g.skill for g in players])[0]
            if self.rng.random() < 0.02:
                mates = [g for g in self.active(killer.team) if g is not killer]
                self.kill(killer, self.rng.choice(mates), ally=True)
                return
            enemies = self.active(ENEMY[killer.team])
            carriers = [g for g in enemies if self.carrying(g)]
            victim = self.rng.choice(carriers if carriers and self.rng.random() < 0.3
                                     else enemies)
            self.kill(killer, victim)
        elif r < 0.74:
            self.flag_step()
        elif r < 0.81:
            g = self.rng.choice(players)
            if self.rng.random() < 0.12:
                self.team_say(g, self.rng.choice(CHAT_TEXTS))
            else:
                self.say(g, self.rng.choice(CHAT_TEXTS))
        elif r < 0.85:
            self.noise(self.rng.choice(GAME_NOISE))
        elif r < 0.89:
            self.suicide(self.rng.choice(players))
        elif r < 0.91:
            self.environment(self.rng.choice(players))
        elif r < 0.915:
            self.self_grenade(self.rng.choice(players))
        elif r < 0.94:
            engineers = [g for g in players if g.cls == "engineer"]
            owner = self.rng.choice(engineers)
            if self.rng.random() < 0.06:
                mates = [g for g in self.active(owner.team) if g is not owner]
                self.destroy_sentry(self.rng.choice(mates), owner, ally=True)
            else:
                self.destroy_sentry(self.rng.choice(self.active(ENEMY[owner.team])), owner)
        else:
            killer = self.rng.choice(players)
            victim = self.rng.choice(self.active(ENEMY[killer.team]))
            self.kill(killer, victim)

    # -- output ------------------------------------------------------------
    def write(self, path):
        with open(path, "wb") as out:
            for text, crlf in self.lines:
                out.write(text.encode("ascii") + (b"\r\n" if crlf else b"\n"))

    def line_count(self):
        return len(self.lines)


# --------------------------------------------------------------------------
# The two matches.

def preamble(sim, gamers, opening):
    """Map loading, joins, warm-up talk and the first frags.

    The opening frags fix the order in which the players first appear, and so
    their ids: the killer of each pair before its victim."""
    for text in MAP_LOAD_NOISE:
        sim.noise(text.format(map=sim.map))
    for g in gamers:
        sim.join(g)
    for _ in range(8):  # warm-up talk comes before the first game event: not counted
        sim.say(sim.rng.choice(gamers), sim.rng.choice(PRESTART_CHAT))
    sim.noise("^3Match begins!")
    for killer, victim in opening:
        sim.kill(killer, victim)


def finale(sim):
    sim.noise("Timelimit hit.")
    sim.noise("")
    sim.noise(f"^1RED^7 {sim.tally.team_scores[0]}  ^4BLUE^7 {sim.tally.team_scores[1]}")
    sim.noise("==== ShutdownGame ====")
    sim.noise("----- Server Shutdown -----")


def run(sim, steps, script):
    for i in range(steps):
        if i in script:
            script[i]()
        sim.step()


def beta1h_match():
    sim = Simulation(1, 20040309, "2forts")
    G = Gamer
    viper, iceman, doc = G("^1Viper", RED, "soldier", skill=1.6), \
        G("^4Ice^7Man", RED, "engineer"), G("Doc Holliday", RED, "medic")
    zed, ace, smurf = G("^3Zed", RED, "sniper", skill=1.3), G("Ace^*", RED, "scout"), \
        G("Smurf", RED, "demoman")
    jinx = G("^6Jinx", RED, "hwguy")
    neo, ghost, tank = G("^7Neo", BLUE, "soldier", skill=1.4), G("^9Ghost", BLUE, "sniper"), \
        G("Tank", BLUE, "hwguy", skill=1.2)
    vex, moss = G("^3^7Vex", BLUE, "spy"), G("^2Moss", BLUE, "pyro")
    longname = G("^5xX^6The^7Unstoppable^5Force^6Xx", BLUE, "engineer")
    casper = G("Casper", BLUE, "scout")
    preamble(sim, [viper, iceman, doc, zed, ace, smurf, jinx, neo, ghost, tank, vex, moss,
                   longname],
             [(viper, neo), (smurf, ghost), (iceman, tank), (doc, vex), (zed, moss),
              (ace, longname), (jinx, neo)])

    def ghosty():  # renames before the first event of a player are dropped
        sim.noise("Ghosty^7 connected")
        sim.rename(None, "Casper", "Ghosty^7")
        sim.noise("Casper^7 disconnected")

    def same_key():  # both names key to "Neo^7": nothing changes
        sim.rename(neo, "Neo")

    def jinx_leaves():
        sim.leave(jinx)

    def smurf_saves_then_merges():
        # Smurf kills the red flag's carrier and becomes ^6Jinx before the
        # flag is returned: the save belongs to the merged record.
        sim.settle(0)
        runner = ghost
        sim.pickup(0, runner, 1)
        sim.kill(smurf, runner, "pipes")
        sim.say(smurf, "brb, wrong name")
        sim.rename(smurf, "^6Jinx")
        sim.flag_return(0, 0)

    def casper_joins():
        sim.join(casper)
        sim.say(casper, "hi, who needs a scout?")

    def ownerless():
        sim.emit(f"n^7's autosentry has been destroyed by {zed.msg}!", "ownerless")

    def crlf_only():
        sim.lines.append(("\r", False))  # a line of a lone carriage return

    script = {
        150: ghosty, 400: same_key, 700: lambda: sim.rename(tank, "^8Panzer"),
        900: jinx_leaves, 1200: smurf_saves_then_merges, 1350: casper_joins,
        1500: ownerless, 1800: crlf_only,
        2000: lambda: team_kill_of_carrier(sim, 1, doc, viper),
        600: lambda: sim.destroy_sentry(viper, iceman, ally=True),
        1000: lambda: sim.say(viper, "lol I was railed by ^9Ghost^7 twice"),
        1700: lambda: sim.say(Gamer("^3Admin", RED, "spy"), "keep it clean, no spawn camping"),
    }
    run(sim, 2900, script)
    end_with_pending_saves(sim, 0, [viper, zed], [neo, moss])
    finale(sim)
    return sim


def beta2_match():
    sim = Simulation(2, 20050611, "openfire")
    G = Gamer
    raven, nova, kit = G("^1Raven", RED, "sniper", True, 1.4), G("^5Nova", RED, "medic", True), \
        G("Kit", RED, "scout")
    bolt, ironman = G("^4Bolt", RED, "soldier", skill=1.5), G("^3Iron^7man", RED, "engineer")
    pyra, jax = G("Pyra^*", RED, "pyro", True), G("Jax", RED, "demoman")
    kobra, sasha = G("^2Kobra", BLUE, "demoman", skill=1.3), G("^7Sasha", BLUE, "soldier", True)
    mike, echo = G("Big Mike", BLUE, "hwguy"), G("^8Echo", BLUE, "spy", True)
    dune, rook = G("^9Dune", BLUE, "engineer", True), G("^1Rook", BLUE, "scout")
    mira, wisp = G("^6Mira", BLUE, "sniper", True, 1.2), G("Wisp", BLUE, "pyro", True)
    preamble(sim, [raven, nova, kit, bolt, ironman, pyra, jax, kobra, sasha, mike, echo, dune,
                   rook, mira],
             [(raven, kobra), (kit, sasha), (bolt, mike), (ironman, echo), (pyra, dune),
              (jax, rook), (nova, mira)])

    def carrier_merges():
        # Kit takes the blue flag from its base, becomes ^5Nova on the way
        # and captures it: still a coast-to-coast run for the merged record.
        sim.settle(1)
        sim.pickup(1, kit, 2)
        sim.say(kit, "got it, coming home")
        sim.rename(kit, "^5Nova")
        sim.noise("^5Nova^7 is now a Scout")
        sim.capture(1, 1)

    def guest():
        sim.noise("Guest^7 connected")
        sim.rename(None, "Wisp", "Guest^7")

    def wisp_joins():
        sim.join(wisp)
        sim.say(wisp, "hello everyone")

    def ownerless():
        sim.emit(f"n^7's autosentry has been destroyed by {kobra.msg}!", "ownerless")

    def crlf_only():
        sim.lines.append(("\r", False))

    script = {
        100: guest, 300: lambda: sim.rename(rook, "^1Bishop"),
        500: lambda: sim.rename(sasha, "Sasha"),
        800: lambda: sim.leave(nova), 1250: carrier_merges, 1400: wisp_joins,
        1600: ownerless, 1700: crlf_only,
        1900: lambda: team_kill_of_carrier(sim, 0, mike, kobra),
        900: lambda: sim.destroy_sentry(mike, dune, ally=True),
        1100: lambda: sim.say(mira, "who took the flag? ^1Raven^7 is out"),
        2200: lambda: sim.say(Gamer("^3Admin", RED, "spy"), "server restarts after this map"),
    }
    run(sim, 2900, script)
    end_with_pending_saves(sim, 1, [kobra, mike], [bolt, raven])
    finale(sim)
    return sim


def team_kill_of_carrier(sim, f, runner, mate):
    """A carrier killed by a team mate: the flag lies free, its run goes on."""
    sim.settle(f)
    sim.pickup(f, runner)
    sim.kill(mate, runner, ally=True)


def end_with_pending_saves(sim, f, defenders, runners):
    """The log ends while flag f lies dropped: its savers are credited at the end."""
    sim.settle(f)
    for defender, runner in zip(defenders, runners):
        sim.pickup(f, runner)
        sim.kill(defender, runner)
    sim.say(runners[0], "argh, out of time")


# --------------------------------------------------------------------------

def check_coverage(sim):
    v = sim.version
    need = [("kill", i) for i in range(len(sim.kill_rows))]
    need += [("pickup", i) for i in range(len(PICKUP_ROWS))]
    need += [("capture", i) for i in range(len(CAPTURE_ROWS))]
    need += [("return", i) for i in range(len(RETURN_ROWS))]
    need += [("suicide", i) for i in range(len(SUICIDE_ROWS[v]))]
    need += [("env", i) for i in range(len(ENV_ROWS[v]))]
    need += [("defense", i) for i in range(len(DEFENSE_ROWS))]
    missing = [n for n in need if sim.used[n] == 0]
    assert not missing, (v, missing)


def print_expect(name, sim):
    t = sim.tally
    print(f"== {name}: lines {sim.line_count()}, players {len(t.players)}, "
          f"teamScores {t.team_scores}, chat {len(t.chat)}, "
          f"versionLines b1 {sim.version_lines[1]} b2 {sim.version_lines[2]}")
    print("   id name | kills deaths suicides tks tkDeaths touches caps drops c2cs flagSaves "
          "rank mm1 selfGren grenRatio | defenses")
    for p in t.players:
        print(f"   {p.id:2} {p.name!r:38} {p.stripped!r:30} | "
              + " ".join(str(getattr(p, c)) for c in
                         ["kills", "deaths", "suicides", "tks", "tkDeaths", "touches", "caps",
                          "drops", "c2cs", "flagSaves", "rank", "mm1", "selfGren",
                          "grenRatio"])
              + f" | {p.defenses}")
    for p in t.players:
        wk = {i: n for i, n in enumerate(p.weapKills) if n}
        wd = {i: n for i, n in enumerate(p.weapDeaths) if n}
        kc = {i: n for i, n in enumerate(p.killCount) if n}
        print(f"   {p.id:2} weapKills {wk}\n      weapDeaths {wd}\n      killCount {kc}")
    for (name, *_), res in zip(AWARDS, award_results(t.players)):
        print(f"   award {name}: {res!r}")


# --------------------------------------------------------------------------
# The season.

SEASON_START = 1772481600  # 2026-03-02T20:00:00Z
LOCAL_NOISE = ["You are on the ^4BLUE^7 team.", "Your grenade timer has started",
               "Not enough ammo.", "You will respawn as Scout", "ping: 48  rate: 25000"]


def season_clan():
    G = Gamer
    return {
        "viper": G("^1Viper", RED, "soldier", skill=1.5), "iceman": G("^4Ice^7Man", RED, "engineer"),
        "doc": G("Doc Holliday", RED, "medic"), "zed": G("^3Zed", RED, "sniper", skill=1.2),
        "ace": G("Ace^*", RED, "scout"), "neo": G("^7Neo", BLUE, "soldier", skill=1.3),
        "ghost": G("^9Ghost", BLUE, "sniper"), "tank": G("Tank", BLUE, "hwguy", skill=1.1),
        "moss": G("^2Moss", BLUE, "engineer"), "raven": G("^1Raven", BLUE, "demoman", True),
    }


def season_match(number, steps=None):
    """Match `number` of the season: eight of the clan, two maps in turn."""
    sim = Simulation(2, 7000 + number, "2forts" if number % 2 else "openfire")
    clan = season_clan()
    rng = random.Random(number)
    red = ["viper", "iceman", "doc", "zed", "ace"]
    blue = ["neo", "ghost", "tank", "moss", "raven"]
    rng.shuffle(red)
    rng.shuffle(blue)
    red, blue = sorted(red[:4]) + (["iceman"] if "iceman" not in red[:4] else []), \
        sorted(blue[:4]) + (["moss"] if "moss" not in blue[:4] else [])
    gamers = [clan[k] for k in red + blue]
    if number in (9, 10):  # Viper plays under another name: merge it
        clan["viper"].display = "^1Vip3r"
    preamble(sim, gamers, [(gamers[0], gamers[-1]), (gamers[-2], gamers[1])])
    script = {}
    if number == 4:  # a rename inside a match: a hint for `players --suggest`
        script[300] = lambda: sim.rename(clan["tank"], "Tankie")
    run(sim, steps or 700 + 40 * number, script)
    finale(sim)
    return sim


def late_recording(sim, seed):
    """The same match as a client that joined late saw it: its lines from
    then on, without the others' chat, with its own local messages."""
    rng = random.Random(seed)
    start = len(sim.lines) * 2 // 5
    lines = [("Loading map...", False), ("^6Lurker^7 entered the game", False)]
    for text, crlf in sim.lines[start:]:
        if route(text, sim.version)[0] == "chat":
            continue
        lines.append((text, crlf))
        if rng.random() < 0.03:
            lines.append((rng.choice(LOCAL_NOISE), False))
    return lines


def write_season(out):
    """Writes the season's logs and, beside their folder, `season-times.txt`:
    the `--played-at FILE@TIME` arguments that give each log its time, which
    a checkout or a copy of the files does not keep."""
    out.mkdir(parents=True, exist_ok=True)
    times = []

    def played_at(path, played):
        os.utime(path, (played, played))
        stamp = time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(played))
        times.append(f"--played-at {path.name}@{stamp}\n")

    for number in range(1, 13):
        sim = season_match(number)
        path = out / f"match-{number:02d}.log"
        sim.write(path)
        played = SEASON_START + (number - 1) * 86400
        played_at(path, played)
        if number == 6:
            sim.lines = late_recording(sim, number)
            late = out / f"match-{number:02d}_late-joiner.log"
            sim.write(late)
            played_at(late, played)  # it ends with the match it joined
    (out.parent / f"{out.name}-times.txt").write_text("".join(times))


# name, team, first and last share of the server's lines the client saw
EVENING_CLIENTS = [("full", BLUE, 0.0, 1.0), ("early", RED, 0.0, 0.45),
                   ("middle", BLUE, 0.30, 0.80), ("late", RED, 0.65, 1.0),
                   ("joiner", BLUE, 0.30, 1.0)]


def client_recording(sim, name, team, start, end, seed):
    """The lines a client saw from `start` to `end` (shares of the server's
    lines): its own at joining and leaving, the others' team chat left out,
    a local message of its own now and then."""
    rng = random.Random(seed)
    first, last = int(len(sim.lines) * start), int(len(sim.lines) * end)
    lines = [("----- Client Initialization -----", False),
             ("Connecting to zefa.example.net:27960...", False),
             (f"^6{name.capitalize()}^7 entered the game", False)]
    for i in range(first, last):
        if sim.team_only.get(i, team) != team:
            continue
        lines.append(sim.lines[i])
        if rng.random() < 0.04:
            lines.append((rng.choice(LOCAL_NOISE), False))
    if last < len(sim.lines):
        lines += [("----- CL_Shutdown -----", False), ("RE_Shutdown( 1 )", False)]
    return lines


def write_evening(out):
    out.mkdir(parents=True, exist_ok=True)
    sim = season_match(13, steps=600)
    start, length = SEASON_START + 14 * 86400, 1800
    server = sim.lines
    sim.write(out / "server.log")
    os.utime(out / "server.log", (start + length, start + length))
    for seed, (name, team, first, last) in enumerate(EVENING_CLIENTS):
        sim.lines = client_recording(sim, name, team, first, last, seed)
        path = out / f"{name}.log"
        sim.write(path)
        ended = start + int(length * last)
        os.utime(path, (ended, ended))
        sim.lines = server


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=pathlib.Path(__file__).resolve().parent.parent
                        / "examples", type=pathlib.Path)
    parser.add_argument("--expect", action="store_true", help="print the tallied figures")
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)
    for name, make in (("beta1h-ctf.log", beta1h_match), ("beta2-ctf.log", beta2_match)):
        sim = make()
        check_coverage(sim)
        sim.tally.finish()
        sim.write(args.out / name)
        if args.expect:
            print_expect(name, sim)
    write_season(args.out / "season")
    write_evening(args.out / "evening")
    return 0


if __name__ == "__main__":
    sys.exit(main())
