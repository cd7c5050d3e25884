// SPDX-License-Identifier: Apache-2.0
#include "Completion.h"

#include "protocol/Catalogue.h"
#include "protocol/ParameterNames.h"
#include "protocol/ParameterValue.h"

namespace kelvane::cli {

namespace {
// The fixed part of the script. The @NAME@ marks are filled from the tables.
// bash splits NAME=VALUE and --option=VALUE at '=' (COMP_WORDBREAKS): the
// words are joined again to know what is typed, and a reply then holds only
// what follows the '=', which is the word readline replaces.
const char *const Script = R"(# bash completion for kelvane.
# Written by 'kelvane --completion bash' from the program's own command table
# and parameter catalogue; write it again rather than edit it.

# Adds the options of command $1 ('' for those of every command) to options,
# the value each option that takes one names to valued (FILE is a file), and
# sets the kinds of the command's arguments in arguments: file, parameter
# (NAME=VALUE) or - (typed by the operator); the last repeats when repeat is
# true. Fails for a word that is no command.
_kelvane_command()
{
    case $1 in
@COMMANDS@    *) return 1 ;;
    esac
}

# Sets values to the spellings parameter $1 takes; fails when it takes text.
_kelvane_values()
{
    case $1 in
@VALUES@    *) return 1 ;;
    esac
}

# Sets escaped to $1 as it stands unquoted on a command line.
_kelvane_escape()
{
    local text=$1 c i
    escaped=
    for ((i = 0; i < ${#text}; i++)); do
        c=${text:i:1}
        case $c in
        ' ' | $'\t' | \' | \" | \\ | \$ | \` | \& | \| | \; | \< | \> | \( | \) | \* | \? | \[ | \] | \{ | \} | \! | \# | \~)
            escaped+=\\$c ;;
        *) escaped+=$c ;;
        esac
    done
}

# Offers each candidate ($4...) that starts with what is typed ($3), after
# lead ($2: NAME= or --option=, or nothing). $1 is words, or files to take
# the candidates from the file system and leave their quoting to readline.
# After an opening quote readline's word starts past the quote, and it closes
# the quote itself.
_kelvane_offer()
{
    local mode=$1 lead=$2 typed=$3 quoted=false candidate escaped
    shift 3
    case $typed in
    \'* | \"*) quoted=true; typed=${typed:1} ;;
    *) typed=${typed//\\/} ;;
    esac
    [[ $COMP_WORDBREAKS == *=* ]] && lead=
    local -a candidates=("$@")
    if [[ $mode == files ]]; then
        compopt -o filenames 2>/dev/null
        mapfile -t candidates < <(compgen -f -- "$typed")
    fi
    for candidate in "${candidates[@]}"; do
        [[ $candidate == "$typed"* ]] || continue
        if $quoted; then
            COMPREPLY+=("$candidate")
        elif [[ $mode == files ]]; then
            COMPREPLY+=("$lead$candidate")
        else
            _kelvane_escape "$candidate"
            COMPREPLY+=("$lead$escaped")
        fi
    done
}

# The value ($3, after $2) of an option whose value is named $1.
_kelvane_value()
{
    [[ $1 == FILE ]] && _kelvane_offer files "$2" "$3"
}

# NAME= of the parameters not given yet, or the values of the NAME= typed.
_kelvane_parameter()
{
    local word name values
    if [[ $cur == *=* ]]; then
        name=${cur%%=*}
        _kelvane_values "$name" && _kelvane_offer words "$name=" "${cur#*=}" "${values[@]}"
        return 0
    fi
    local -a names=()
    for name in @PARAMETERS@; do
        for word in "${given[@]}"; do
            [[ $word == "$name="* ]] && continue 2
        done
        names+=("$name=")
    done
    compopt -o nospace 2>/dev/null
    _kelvane_offer words '' "$cur" "${names[@]}"
}

_kelvane()
{
    COMPREPLY=()
    local -a words=()
    local i word glue=false
    for ((i = 1; i <= COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if ((${#words[@]})) && { [[ $word == = ]] || $glue; }; then
            words[${#words[@]}-1]+=$word
        else
            words+=("$word")
        fi
        [[ $word == = ]] && glue=true || glue=false
    done
    ((${#words[@]})) || return 0
    local cur=${words[${#words[@]}-1]}

    # The command, the arguments given after it, and the option whose value
    # the word under the cursor is.
    local command= pending= ended=false repeat=false
    local -a options=() arguments=() given=()
    local -A valued=()
    _kelvane_command ''
    for word in "${words[@]:0:${#words[@]}-1}"; do
        if [[ -n $pending ]]; then
            pending=
        elif ! $ended && [[ $word == -- ]]; then
            ended=true
        elif ! $ended && [[ $word == -?* ]]; then
            [[ $word != *=* && -n ${valued[$word]-} ]] && pending=$word
        elif [[ -z $command ]]; then
            command=$word
            _kelvane_command "$command" || return 0
        else
            given+=("$word")
        fi
    done

    if [[ -n $pending ]]; then
        _kelvane_value "${valued[$pending]}" '' "$cur"
    elif ! $ended && [[ $cur == -?*=* ]]; then
        _kelvane_value "${valued[${cur%%=*}]-}" "${cur%%=*}=" "${cur#*=}"
    elif ! $ended && [[ $cur == -* ]]; then
        _kelvane_offer words '' "$cur" "${options[@]}"
    elif [[ -z $command ]]; then
        _kelvane_offer words '' "$cur" @NAMES@
    else
        local kind=-
        if ((${#given[@]} < ${#arguments[@]})); then
            kind=${arguments[${#given[@]}]}
        elif $repeat && ((${#arguments[@]})); then
            kind=${arguments[${#arguments[@]}-1]}
        fi
        case $kind in
        file) _kelvane_offer files '' "$cur" ;;
        parameter) _kelvane_parameter ;;
        esac
    fi
    return 0
}

complete -F _kelvane kelvane
)";

// A word bash reads back as the text itself, whatever it holds.
QString quoted(const QString &text)
{
    QString inner = text;
    inner.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

QString words(const QStringList &texts)
{
    QStringList out;
    for (const QString &text : texts)
        out << quoted(text);
    return out.join(QLatin1Char(' '));
}

// Where an option's value names a file, the script completes file names.
const QString FileValue = QStringLiteral("FILE");

// One branch of _kelvane_command: the options, the value each takes, and
// (for a command) its arguments.
QString commandBranch(const QString &name, const QList<QCommandLineOption> &options, const QString *arguments)
{
    QStringList spellings;
    QStringList valued;
    for (const QCommandLineOption &option : options) {
        if (option.flags() & QCommandLineOption::HiddenFromHelp)
            continue;
        for (const QString &optionName : option.names()) {
            const QString spelled = (optionName.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + optionName;
            spellings << spelled;
            if (!option.valueName().isEmpty())
                valued << QStringLiteral("[%1]=%2").arg(quoted(spelled), quoted(option.valueName()));
        }
    }
    QString branch = QStringLiteral("    %1)\n").arg(quoted(name));
    if (!spellings.isEmpty())
        branch += QStringLiteral("        options+=(%1)\n").arg(words(spellings));
    if (!valued.isEmpty())
        branch += QStringLiteral("        valued+=(%1)\n").arg(valued.join(QLatin1Char(' ')));
    if (arguments) {
        // "FILE MODULE... | --all": the first form counts; "..." repeats the last.
        const QStringList tokens = arguments->section(QLatin1Char('|'), 0, 0).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QStringList kinds;
        bool repeat = false;
        for (QString token : tokens) {
            token.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
            repeat = token.endsWith(QLatin1String("..."));
            token.chop(repeat ? 3 : 0);
            kinds << (token == FileValue ? QStringLiteral("file")
                      : token == QLatin1String("NAME=VALUE") ? QStringLiteral("parameter")
                                                             : QStringLiteral("-"));
        }
        branch += QStringLiteral("        arguments=(%1)\n").arg(kinds.join(QLatin1Char(' ')));
        if (repeat)
            branch += QStringLiteral("        repeat=true\n");
    }
    return branch + QStringLiteral("        ;;\n");
}

QString valueBranches()
{
    QString branches;
    for (const Parameter &p : catalogue()) {
        QStringList values;
        switch (p.kind) {
        case ValueKind::Choice:
            for (int i = 0; i < p.items.size(); ++i)
                values << itemSpellings(p, i);
            break;
        case ValueKind::StartMode:
            values = startModeNames();
            break;
        case ValueKind::Text:
            continue;
        }
        branches += QStringLiteral("    %1) values=(%2) ;;\n").arg(quoted(parameterKey(p)), words(values));
    }
    return branches;
}
}  // namespace

QString bashCompletion(const QList<QCommandLineOption> &common, const QList<Command> &commands)
{
    QString branches = commandBranch(QString(), common, nullptr);
    QStringList names;
    for (const Command &c : commands) {
        const QString name = QLatin1String(c.name);
        const QString arguments = QLatin1String(c.arguments);
        names << name;
        branches += commandBranch(name, c.options(), &arguments);
    }
    QString script = QString::fromUtf8(Script);
    script.replace(QLatin1String("@COMMANDS@"), branches);
    script.replace(QLatin1String("@VALUES@"), valueBranches());
    script.replace(QLatin1String("@PARAMETERS@"), words(parameterKeys()));
    script.replace(QLatin1String("@NAMES@"), words(names));
    return script;
}

}  // namespace kelvane::cli
