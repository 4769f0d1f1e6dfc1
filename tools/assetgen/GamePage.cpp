#include "GamePage.h"

#include <string>

#include "Paint.h"
#include "Scenery.h"
#include "codec/ScoreServerAddress.h"

namespace bd::art {

namespace {

// The page's look: the colours of the game's menus, readable on a phone too.
constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="ru">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Bumper Dash — аркадные гонки</title>
<style>
body { margin: 0; font-family: "DejaVu Sans", Verdana, sans-serif; line-height: 1.5;
       background: #bfe8ff; color: #1b2330; }
main { max-width: 46em; margin: 0 auto; padding: 1em 1.2em 2em; background: #fffdf4;
       border-left: 3px solid #1b2330; border-right: 3px solid #1b2330; min-height: 100vh; }
header { text-align: center; }
header img { max-width: 100%; height: auto; }
h1 { font-size: 1.6em; margin: 0.2em 0 0.6em; }
h2 { font-size: 1.25em; margin: 1.4em 0 0.4em; border-bottom: 2px solid #f59a1a; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; vertical-align: top; padding: 0.25em 0.5em; border-bottom: 1px solid #d8d2bc; }
th { white-space: nowrap; }
kbd { font-family: inherit; font-weight: bold; background: #eef3f8; border: 1px solid #9aa6b2;
      border-radius: 4px; padding: 0 0.3em; }
code { font-size: 0.95em; background: #eef3f8; padding: 0 0.2em; }
.note { color: #4a5564; font-size: 0.92em; }
</style>
</head>
<body>
<main>
<header>
<img src="site-logo.png" width="520" height="130" alt="Bumper Dash">
<h1>Аркадные гонки по дороге, которую догоняет лава</h1>
</header>

<h2>Об игре</h2>
<p>Над маленьким городком прошёл метеоритный дождь. Вы успели прыгнуть в машину
и мчитесь по четырёхполосному шоссе в соседний город, а за вами ползёт лавовая
пропасть и летят огненные шары. Чем медленнее вы едете, тем быстрее они догоняют.</p>
<p>Дорогу завалили разбитые машины, столбы и деревья, на ней лужи. Объезжайте
завалы, подбирайте бонусы и проезжайте уровень за уровнем, чтобы попасть
в таблицу рекордов.</p>

<h2>Как играть</h2>
<table>
<tr><th><kbd>↑</kbd></th><td>газ</td></tr>
<tr><th><kbd>↓</kbd></th><td>ручной тормоз</td></tr>
<tr><th><kbd>←</kbd> <kbd>→</kbd></th><td>перестроиться в соседнюю полосу (стоящая машина не поворачивает)</td></tr>
<tr><th><kbd>Пробел</kbd></th><td>задний ход, когда машина немного постоит на месте</td></tr>
<tr><th><kbd>Enter</kbd></th><td>мгновенная остановка: одно нажатие тратит один заряд бонуса «СТОП»</td></tr>
<tr><th><kbd>Ctrl</kbd></th><td>выстрел, когда подобран пулемёт</td></tr>
<tr><th><kbd>P</kbd></th><td>пауза и продолжение гонки</td></tr>
<tr><th><kbd>Esc</kbd></th><td>выйти из гонки или из игры (игра спросит, уверены ли вы)</td></tr>
<tr><th><kbd>Alt</kbd>+<kbd>Enter</kbd></th><td>окно или полный экран</td></tr>
</table>
<p>Меню работают и с мышью, и с клавиатурой: стрелки выбирают пункт, <kbd>Enter</kbd>
нажимает его, <kbd>Esc</kbd> возвращает в главное меню. Игровой контроллер
тоже подойдёт: крестовина или стик — стрелки, A — Enter, B — выстрел и «назад»,
X — задний ход, Start — пауза.</p>

<h2>Советы</h2>
<ul>
<li>Бонусы на дороге чинят машину, дают лишние жизни, нитро и мгновенную остановку.</li>
<li>Подобранный пулемёт расчищает путь от завалов.</li>
<li>Новая жизнь начинается с мигающей машины: пока она мигает, её не повредить.</li>
<li>Не стойте на месте: пропасть позади ползёт, пока вы медлите.</li>
</ul>

<h2>Рекорды</h2>
<p>Десять лучших результатов игра хранит в файле <code>Config.cfg</code> в своей папке
(у установленной игры — <code>~/.local/share/bumperdash</code>). Экран «Рекорды»
в главном меню показывает их; удалите файл, чтобы начать с чистой таблицы.</p>
<p>Когда результат попадает в десятку, игра просит ввести имя. Отметьте
«Отправить результат в таблицу рекордов сайта», и результат уйдёт на сервер рекордов.</p>
)";

constexpr std::string_view kTail = R"(
<p class="note">Эта страница входит в игру и открывается без интернета.</p>
</main>
</body>
</html>
)";

std::string TableAddress(std::string_view scoreServer) {
  return std::string(scoreServer) + "/cgi/version.pl?prg=BumperDash&amp;show&amp;type=0";
}

// Where the reported scores go: the server the game was built for.
std::string ScoresSection(std::string_view scoreServer) {
  if (IsLoopbackScoreServer(scoreServer)) {
    return "<p>Сервер рекордов работает на этом же компьютере: он запускается вместе с игрой\n"
           "и хранит свою таблицу в файле <code>scores.sqlite</code> рядом с <code>Config.cfg</code>.\n"
           "Результаты никуда из компьютера не уходят.</p>\n"
           "<p>Чтобы открыть эту таблицу, пока игра запущена, нажмите «ОНЛАЙН» на экране «Рекорды»:\n"
           "она откроется в браузере по адресу <code>" +
           TableAddress(scoreServer) + "</code>.</p>\n";
  }
  const std::string table = TableAddress(scoreServer);
  return "<p>Результаты всех игроков собирает общая таблица на сайте игры:\n"
         "<a href=\"" +
         table + "\">" + std::string(scoreServer) +
         "/</a>.\n"
         "Её открывает и кнопка «ОНЛАЙН» на экране «Рекорды».</p>\n";
}

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

}  // namespace

std::vector<OutputFile> MakeGamePage(std::string_view scoreServer) {
  // The logo at twice the size the page shows it, for sharp phone screens.
  Canvas logo(1040, 260);
  TitleLogo(logo.cr(), 540, 130, 104);
  const std::string page = std::string(kHead) + ScoresSection(scoreServer) + std::string(kTail);
  return {{"pdata/site.html", Bytes(page)}, {"pdata/site-logo.png", logo.Png()}};
}

}  // namespace bd::art
