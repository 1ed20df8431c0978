#!/usr/bin/python3
"""Writes a data folder as the program keeps it, for benchmarks and trials by hand.

Files: month files yyyymm.csv for every month, diary files yyyymmdd.txt and plan files
Schyyyymmdd.txt on a share of the days, anniversary files Annivmmdd.txt on a share of the
month-days, ToDo.txt and Memo.txt; code page 932, CR LF, as the program writes them.

The same options and seed always give the same bytes. Every file written is dated an hour back.

ToDo.txt and Memo.txt come from a random source of their own, so --pages-only can give an
existing folder other ToDo and メモ sizes (--todo-bytes, --memo-bytes) with the very bytes a
whole run with the same options writes.

Examples:
  make_data_folder.py OUT                     # 30 years to 2025, about 11,000 page files
  make_data_folder.py OUT --years 5 --seed 7
  make_data_folder.py OUT --needle 合言葉 --needle-files 12
  make_data_folder.py OUT --pages-only --todo-bytes 100000 --memo-bytes 100000
"""

import argparse
import datetime
import os
import random
import sys
import time

WORDS = (
    "会議 打ち合わせ 買い物 病院 散歩 読書 旅行 映画 電話 手紙 天気 晴れ 雨 曇り 雪 "
    "朝 昼 夜 友人 家族 仕事 学校 駅 電車 バス 昼食 夕食 公園 図書館 銀行 郵便局 "
    "予約 締め切り 資料 報告 連絡 確認 準備 掃除 洗濯 料理 散髪 歯医者 美術館 "
    "カレー ラーメン コーヒー ケーキ パン ミーティング プロジェクト レポート メール "
    "とても 少し すこし 楽しかった 疲れた 忙しい 静かな 新しい 古い 大きな 小さな "
    "Tokyo Osaka meeting memo plan TODO report OK 10時 15時 3件 2回"
).split()
PUNCTUATION = ("、", "。", "！", "　", " ")
GRID_WORDS = ("会議", "出張", "休み", "★締切", "☆", "●通院", "○", "打合せ", "来客", "外出", "研修", "■")
CAPTIONS = ("予定1", "予定2", "予定3")
WEEKDAYS = "月火水木金土日"


def sentence(rng, length):
    parts = []
    size = 0
    while size < length:
        word = rng.choice(WORDS)
        parts.append(word)
        parts.append(rng.choice(PUNCTUATION))
        size += len(word) + 1
    return "".join(parts)


def page_text(rng, size, needle=None, measure=len):
    """A page of about `size` characters (or what `measure` counts) in lines of 10 to 60."""
    lines = []
    total = 0
    while total < size:
        line = sentence(rng, rng.randint(10, 60))
        lines.append(line)
        total += measure(line) + 2
    if needle is not None:
        at = rng.randrange(len(lines))
        cut = rng.randint(0, len(lines[at]))
        lines[at] = lines[at][:cut] + needle + lines[at][cut:]
    return "\r\n".join(lines)


def encoded_size(text):
    return len(text.encode("cp932"))


# Files of an earlier session: a file written a moment ago has a time the program cannot trust
# to tell a later rewrite, so it would read it again and again, which no user's folder does.
AN_HOUR_AGO = time.time() - 3600


def write(path, text):
    with open(path, "wb") as f:
        f.write(text.encode("cp932"))
    os.utime(path, (AN_HOUR_AGO, AN_HOUR_AGO))


def field(text):
    # The grid's comma text: quoted when it holds a blank, a quote or a comma.
    if text == "" or not any(c in text for c in ' ",') and all(ord(c) > 32 for c in text):
        return text
    return '"' + text.replace('"', '""') + '"'


def month_file(rng, year, month, fill):
    first = datetime.date(year, month, 1)
    days = ((first.replace(day=28) + datetime.timedelta(days=4)).replace(day=1) - first).days
    lines = ["," + ",".join(CAPTIONS)]
    for day in range(1, days + 1):
        caption = "%d日(%s)" % (day, WEEKDAYS[datetime.date(year, month, day).weekday()])
        cells = []
        for _ in CAPTIONS:
            cells.append(rng.choice(GRID_WORDS) + (" " + str(rng.randint(9, 18)) + "時" if rng.random() < 0.3 else "")
                         if rng.random() < fill else "")
        lines.append(",".join([caption] + [field(c) for c in cells]))
    return "\r\n".join(lines) + "\r\n"


def write_todo_memo(args):
    # Their own source: the dated files drawn before them cannot change their bytes.
    rng = random.Random("%d ToDo Memo" % args.seed)
    for name, chars, size in (("ToDo.txt", args.todo_size, args.todo_bytes),
                              ("Memo.txt", args.memo_size, args.memo_bytes)):
        if size is not None:
            text = page_text(rng, size, measure=encoded_size) if size > 0 else ""
        else:
            text = page_text(rng, chars)
        write(os.path.join(args.folder, name), text)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("folder", help="the folder to fill (made if missing; existing files of the same names are replaced)")
    parser.add_argument("--years", type=int, default=30, help="number of years (default 30)")
    parser.add_argument("--last-year", type=int, default=2025, help="the last year (default 2025)")
    parser.add_argument("--seed", type=int, default=1, help="random seed (default 1)")
    parser.add_argument("--diary-share", type=float, default=0.75, help="share of days with a diary (default 0.75)")
    parser.add_argument("--plan-share", type=float, default=0.25, help="share of days with a plan (default 0.25)")
    parser.add_argument("--page-size", type=int, default=300,
                        help="mean characters of a diary or plan page (default 300)")
    parser.add_argument("--anniv-days", type=int, default=120, help="month-days with an anniversary file (default 120)")
    parser.add_argument("--grid-fill", type=float, default=0.2, help="share of grid cells with text (default 0.2)")
    parser.add_argument("--todo-size", type=int, default=2000, help="characters of ToDo.txt (default 2000)")
    parser.add_argument("--memo-size", type=int, default=20000, help="characters of Memo.txt (default 20000)")
    parser.add_argument("--todo-bytes", type=int, help="bytes of ToDo.txt, about (instead of --todo-size)")
    parser.add_argument("--memo-bytes", type=int, help="bytes of Memo.txt, about (instead of --memo-size)")
    parser.add_argument("--pages-only", action="store_true",
                        help="write ToDo.txt and Memo.txt only, into a folder made before")
    parser.add_argument("--needle", default="ひみつの合言葉",
                        help="a phrase put into --needle-files diary files and nowhere else")
    parser.add_argument("--needle-files", type=int, default=5, help="how many diaries get the needle (default 5)")
    args = parser.parse_args(argv)

    if args.years < 1 or not 1 <= args.last_year - args.years + 1 <= 9999:
        parser.error("the years must lie between 1 and 9999")
    os.makedirs(args.folder, exist_ok=True)
    write_todo_memo(args)
    if args.pages_only:
        print("%s: ToDo.txt and Memo.txt" % args.folder)
        return 0
    rng = random.Random(args.seed)
    first = datetime.date(args.last_year - args.years + 1, 1, 1)
    last = datetime.date(args.last_year, 12, 31)

    diaries = []
    day = first
    pages = 0
    while day <= last:
        stamp = day.strftime("%Y%m%d")
        if rng.random() < args.diary_share:
            diaries.append(stamp)
        if rng.random() < args.plan_share:
            write(os.path.join(args.folder, "Sch" + stamp + ".txt"),
                  page_text(rng, max(1, int(rng.expovariate(1 / args.page_size)))))
            pages += 1
        if day.day == 1:
            write(os.path.join(args.folder, day.strftime("%Y%m") + ".csv"),
                  month_file(rng, day.year, day.month, args.grid_fill))
        day += datetime.timedelta(days=1)

    with_needle = set(rng.sample(diaries, min(args.needle_files, len(diaries))))
    for stamp in diaries:
        write(os.path.join(args.folder, stamp + ".txt"),
              page_text(rng, max(1, int(rng.expovariate(1 / args.page_size))),
                        args.needle if stamp in with_needle else None))
    pages += len(diaries)

    month_days = [(m, d) for m in range(1, 13) for d in range(1, 32)
                  if d <= (29 if m == 2 else 30 if m in (4, 6, 9, 11) else 31)]
    for m, d in rng.sample(month_days, min(args.anniv_days, len(month_days))):
        write(os.path.join(args.folder, "Anniv%02d%02d.txt" % (m, d)), page_text(rng, 80))
    pages += min(args.anniv_days, len(month_days))
    pages += 2
    print("%s: %d page files, %d month files" % (args.folder, pages, args.years * 12))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
