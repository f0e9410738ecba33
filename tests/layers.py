#!/usr/bin/env python3
"""Checks the program's layers from its #include lines: no circle of modules (a module is a
header and its .cpp, e.g. app/program), and skins/, shell/ and about/ use nothing of app/ but the
program module and the portable helpers. Prints the module graph with -v."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ["app", "shape", "skins", "shell", "about", "res"]
# What the subsystems may use from app/: the bottom module and the portable pieces.
APP_FOR_SUBSYSTEMS = {"app/program", "app/paths", "app/follow"}
SUBSYSTEMS = ("skins/", "shell/", "about/")


def module_graph():
    graph = {}
    for folder in FOLDERS:
        for name in sorted(os.listdir(os.path.join(ROOT, folder))):
            if not name.endswith((".h", ".cpp")):
                continue
            module = folder + "/" + os.path.splitext(name)[0]
            uses = graph.setdefault(module, set())
            with open(os.path.join(ROOT, folder, name), encoding="utf-8") as source:
                for line in source:
                    found = re.match(r'\s*#include\s+"([^"]+)"', line)
                    if found:
                        used = os.path.splitext(found.group(1))[0]
                        if used != module:
                            uses.add(used)
    return graph


def circles(graph):
    """The strongly connected components with more than one module (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(module):
        index[module] = low[module] = len(index)
        stack.append(module)
        on_stack.add(module)
        for used in graph.get(module, ()):
            if used not in index:
                visit(used)
                low[module] = min(low[module], low[used])
            elif used in on_stack:
                low[module] = min(low[module], index[used])
        if low[module] == index[module]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == module:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    for module in sorted(graph):
        if module not in index:
            visit(module)
    return found


def main():
    graph = module_graph()
    if "-v" in sys.argv:
        for module in sorted(graph):
            print(module, "->", ", ".join(sorted(graph[module])) or "-")
    faults = ["circle: " + " <-> ".join(component) for component in circles(graph)]
    for module in sorted(graph):
        if module.startswith(SUBSYSTEMS):
            for used in sorted(graph[module]):
                if used.startswith("app/") and used not in APP_FOR_SUBSYSTEMS:
                    faults.append(f"{module} uses {used}, above it")
    for fault in faults:
        print(fault)
    if not faults:
        print(f"{len(graph)} modules, no circle, subsystems use only the bottom of app/")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
