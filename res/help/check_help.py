#!/usr/bin/python3
"""Checks the help sources here: every link leads somewhere and the contents reach every page; prints each
failure, exits 1 on any. The real viewer opens the compiled file in the end-to-end tests."""

import configparser, os, pathlib, re, sys

HERE = os.path.dirname(os.path.abspath(__file__))


def raw(name): return pathlib.Path(HERE, name).read_bytes()


def read_project():   # the [OPTIONS] of the project file, and its [FILES] with the contents and the index
    project = configparser.ConfigParser(delimiters='=', allow_no_value=True, interpolation=None)
    project.optionxform = str   # option names keep their case
    project.read_string(raw('help.hhp').decode('ascii'))
    options = dict(project['OPTIONS'])
    return options, list(project['FILES']) + [options['Contents file'], options['Index file']]


def targets(name):   # where the contents, the index or a page leads, but for external links
    found = re.findall(r'name="Local"\s+value="([^"]*)"|href="([^"]*)"', raw(name).decode('ascii'), re.I)
    return [local or href for local, href in found if not re.match(r'[a-z]+:', local or href)]


if __name__ == '__main__':
    options, files = read_project()
    pages = [f for f in files if f.endswith('.html')]
    failures = [] if options.get('Default topic') in pages else ['the default topic is not a page']
    for source in pages + [options['Contents file'], options['Index file']]:
        for target in targets(source):
            page, _, anchor = target.partition('#')
            page = page or source   # '#anchor' alone leads into the source itself
            if page not in files or anchor and b'name="%s"' % anchor.encode() not in raw(page):
                failures.append('%s leads to %s, which does not exist' % (source, target))
    reached = {t.partition('#')[0] for t in targets(options['Contents file'])}
    failures += ['the contents does not reach %s' % page for page in sorted(set(pages) - reached)]
    print(''.join('FAIL: %s\n' % f for f in failures), end='')
    sys.exit(1 if failures else 0)
