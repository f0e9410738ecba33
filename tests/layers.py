#!/usr/bin/env python3
"""Checks the program's layers from its #include lines. A module is a header and its .cpp (for
example base/settings); a folder is a layer. Fails on a circle of modules, on a circle of folders,
and on a folder that uses one its row in LAYERS does not name. Prints both graphs with -v."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Folder: the folders below it that it may use. res/ and base/ are the bottom that everything
# stands on; the subsystems use only them; app/ (main, start-up, the window procedure) is the top
# of the program. The skin kit and the benchmarks are programs of their own beside it.
LAYERS = {
    "res": set(),                       # resource numbers and the program's texts
    "base": {"res"},                    # program state, install paths, setting.ini, names, message box
    "shape": set(),                     # the window's shape from the picture
    "skins": {"res", "base"},           # catalogue, context menu, skin switch
    "shell": {"res", "base"},           # the Startup shortcut
    "about": {"res", "base"},           # the About box
    "app": {"res", "base", "shape", "skins", "shell", "about"},
    "skinkit": {"res", "base", "shape"},  # perchskin.exe
    # The benchmarks make the tests' own pictures.
    "bench": {"res", "base", "shape", "skinkit", "tests"},
}


def module_graph():
    graph = {}
    for folder in LAYERS:
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
                        if "/" not in used:
                            used = folder + "/" + used
                        if used != module:
                            uses.add(used)
    return graph


def folder_graph(graph):
    folders = {}
    for module, uses in graph.items():
        folder = module.split("/")[0]
        targets = folders.setdefault(folder, set())
        targets.update(u.split("/")[0] for u in uses if u.split("/")[0] != folder)
    return folders


def circles(graph):
    """The strongly connected components with more than one member (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for used in graph.get(node, ()):
            if used not in index:
                visit(used)
                low[node] = min(low[node], low[used])
            elif used in on_stack:
                low[node] = min(low[node], index[used])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return found


def main():
    graph = module_graph()
    folders = folder_graph(graph)
    if "-v" in sys.argv:
        for name, uses in sorted(folders.items()) + sorted(graph.items()):
            print(name, "->", ", ".join(sorted(uses)) or "-")
    faults = ["circle: " + " <-> ".join(c) for c in circles(graph) + circles(folders)]
    for module in sorted(graph):
        folder = module.split("/")[0]
        for used in sorted(graph[module]):
            used_folder = used.split("/")[0]
            if used_folder != folder and used_folder not in LAYERS[folder]:
                faults.append(f"{module} uses {used}: {folder}/ may not use {used_folder}/")
    for fault in faults:
        print(fault)
    if not faults:
        print(f"{len(folders)} folders, {len(graph)} modules: no circle, every folder uses only "
              "the layers below it")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
