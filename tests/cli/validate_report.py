#!/usr/bin/env python3
"""Validates a corvane-cli --json document against the report schema, and checks what the
schema cannot say: the document's exit code is the worst of its drives' and the program's own.
    validate_report.py SCHEMA REPORT EXIT_CODE"""
import json
import sys

import jsonschema


def main():
    schema_path, report_path, exit_code = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    with open(report_path, encoding="utf-8") as f:
        report = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    jsonschema.Draft202012Validator(schema).validate(report)
    if report["exit_code"] != exit_code:
        sys.exit(f"report exit_code {report['exit_code']} but the program exited {exit_code}")
    tests = [d["test"] for d in report["drives"] if "test" in d]
    if tests and report["exit_code"] != max(t["exit_code"] for t in tests):
        sys.exit("report exit_code is not the worst of its drives'")


if __name__ == "__main__":
    main()
