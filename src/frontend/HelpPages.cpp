// The three help pages: the story, the controls and the credits.
#include <cstddef>
#include <string>

#include "codec/ScoreServerAddress.h"
#include "frontend/FrontEndScreens.h"
#include "frontend/ScoreReport.h"

namespace bd {
namespace {

constexpr THelpLine kStory[] = {
    {165, 162, 16, "ОПИСАНИЕ ИГРЫ"},
    {40, 190, 11, "Однажды ночью над маленьким городком пошёл"},
    {40, 210, 11, "метеоритный дождь. Раскалённые камни падали с неба,"},
    {40, 230, 11, "дома горели, а земля трескалась прямо под ногами."},
    {40, 250, 11, "Вы успели прыгнуть в машину и мчитесь по шоссе"},
    {40, 270, 11, "в соседний город, где ещё можно найти спасение."},
    {40, 290, 11, "За вами по пятам ползёт лава и летят огненные шары:"},
    {40, 310, 11, "чем медленнее вы едете, тем быстрее они догоняют."},
    {40, 330, 11, "Дорогу завалили упавшие деревья, столбы и разбитые"},
    {40, 350, 11, "машины тех, кому повезло меньше. Объезжайте их"},
    {40, 370, 11, "и не сбавляйте ход. Бонусы на дороге чинят машину,"},
    {40, 390, 11, "дают лишние жизни, нитро и мгновенную остановку,"},
    {40, 410, 11, "а подобранный пулемёт расчистит путь от завалов."},
    {40, 430, 11, "Доберитесь до соседнего города! Удачи, гонщик!"},
};

// The lines stand 18 pixels apart, so that the nine keys of the race fit
// above the panel's buttons.
constexpr THelpLine kControls[] = {
    {185, 162, 16, "УПРАВЛЕНИЕ"},
    {40, 190, 14, "Управление в меню"},
    {40, 218, 10, "Используйте стрелки клавиатуры или мышь для перемещения по меню"},
    {40, 236, 10, "Используйте кнопки мыши или \"Enter\" для выбора пункта меню"},
    {40, 254, 10, "Используйте стрелки на клавиатуре или кнопки мыши для изменения"},
    {40, 272, 10, "настроек игры."},
    {40, 290, 10, "Нажмите \"Escape\" для возврата в главное меню."},
    {40, 316, 14, "Управление в игре"},
    {40, 344, 10, "Используйте стрелки влево и вправо, чтобы управлять автомобилем."},
    {40, 362, 10, "Используйте стрелку вверх, чтобы набрать скорость."},
    {40, 380, 10, "Используйте стрелку вниз для ручного тормоза."},
    {40, 398, 10, "Используйте \"Space\", чтобы ехать задним ходом."},
    {40, 416, 10, "Используйте \"Enter\" для мгновенной остановки (бонус)."},
    {40, 434, 10, "Используйте \"Control\", чтобы стрелять (бонус)."},
    {40, 452, 10, "Для паузы и возврата в игру используйте \"P\"."},
    {40, 470, 10, "Нажмите \"Esc\" для выхода в главное меню."},
    {40, 488, 10, "Используйте \"Alt\"+\"Enter\" для смены режима экрана."},
};

template <std::size_t N>
constexpr THelpPage Page(const THelpLine (&lines)[N]) {
  return {lines, static_cast<int>(N)};
}

// The table of a server on this machine is nobody's web site: the page then
// says where the table is and how to open it. A public server's home page is
// the game's address on the web.
constexpr THelpLine kAboutLocal[] = {
    {202, 162, 16, "ОБ ИГРЕ"},
    {231, 300, 12, "Bumper Dash"},
    {231, 320, 10, "Разработка: команда Bumper Dash"},
    {231, 350, 10, "Таблица рекордов хранится"},
    {231, 368, 10, "на этом компьютере. Чтобы её"},
    {231, 386, 10, "открыть, нажмите «ОНЛАЙН»"},
    {231, 404, 10, "на экране рекордов."},
};

}  // namespace

THelpPage AboutPage(std::string_view scoreServer) {
  if (IsLoopbackScoreServer(scoreServer)) return Page(kAboutLocal);
  static std::string address;
  address = ScoreServerHomePage(scoreServer);
  static THelpLine lines[] = {
      {202, 162, 16, "ОБ ИГРЕ"},
      {231, 300, 12, "Bumper Dash"},
      {231, 320, 10, "Разработка: команда Bumper Dash"},
      {231, 350, 10, "Сайт игры и таблица рекордов:"},
      {231, 368, 10, ""},
  };
  lines[4].Utf8 = address.c_str();
  return Page(lines);
}

THelpPage HelpPageLines(int page) {
  switch (page) {
    case 1:
      return Page(kStory);
    case 2:
      return Page(kControls);
    case 3:
      return AboutPage(ScoreServerBase());
    default:
      return {nullptr, 0};
  }
}

}  // namespace bd
