#!/usr/bin/env bash
# Each folder of src/ includes only from itself and the folders below it:
#   catalog < codes < document < code_manager, grid < check < storage < database < window, cli < app
# A folder on the same level as another never includes it.
set -u
src=${1:?usage: layering_test.sh SRC_DIR}
declare -A rank=([catalog]=0 [codes]=1 [document]=2 [code_manager]=3 [grid]=3 [check]=4 [storage]=5 [database]=6
                 [window]=7 [cli]=7 [app]=8)
bad=0
for dir in "$src"/*/; do
  folder=$(basename "$dir")
  if [ -z "${rank[$folder]+x}" ]; then
    echo "src/$folder: a folder the layering does not place"; bad=1; continue
  fi
  while IFS=: read -r file line included; do
    target=${included#*\"}; target=${target%%/*}
    [ "$target" = "$folder" ] && continue
    if [ -z "${rank[$target]+x}" ] || [ "${rank[$target]}" -ge "${rank[$folder]}" ]; then
      echo "${file#"$src"/}:$line includes $target/, which is not below $folder/"; bad=1
    fi
  done < <(grep -Hn '^#include "[a-z_]*/' "$dir"* 2>/dev/null)
done
[ $bad -eq 0 ] && echo "every include goes downward"
exit $bad
