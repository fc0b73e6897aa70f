The shipped hooks under pre-commit, in a scratch repository whose textures
lie below its root (needs pre-commit, and this checkout's HEAD).

  $ [ "$BENTRO_TARGET" != windows ] && command -v pre-commit >/dev/null || exit 80
  $ rev=$(git -C "$TESTDIR" rev-parse HEAD) && git -C "$TESTDIR" cat-file -e HEAD:.pre-commit-hooks.yaml || exit 80
  $ . "$TESTDIR/setup.sh"; export PRE_COMMIT_HOME="$CRAMTMP/pre-commit" GIT_CONFIG_GLOBAL=/dev/null
  $ git init -q; wal textures/Base/Wall1.WAL; wal textures/ok.wal ok; wal textures/Base/Wall1.pcx; wal notes.txt
  $ cat >.pre-commit-config.yaml <<EOF
  > repos:
  > - repo: $TESTDIR/../..
  >   rev: $rev
  >   hooks:
  >   - id: bentro-check
  >     args: [/t:textures, --]
  >     files: (?i)^textures/.*\.wal$
  >   - id: bentro-repair
  >     args: [/t:textures, --]
  >     files: (?i)^textures/.*\.wal$
  >     stages: [manual]
  > EOF
  $ git add -A; pre-commit run 2>&1 | grep -v '^\[INFO\]'
  check the name fields of .wal files......................................Failed
  - hook id: bentro-check
  - exit code: 3
  
  ./Base/Wall1.WAL
  Name field would change from 'OLD' to 'base/wall1'
  
  $ pre-commit run bentro-repair --hook-stage manual
  repair the name fields of .wal files.....................................Failed
  - hook id: bentro-repair
  - files were modified by this hook
  
  ./Base/Wall1.WAL
  Name field changed from 'OLD' to 'base/wall1'
  
  [1]
  $ git add -A; pre-commit run
  check the name fields of .wal files......................................Passed
