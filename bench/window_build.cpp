// Time to build and show a window holding 50 controls: the window, its
// views and their native widgets are made, the window is shown and every
// view has drawn once. The goal is under 100 ms.

#include <string>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QWidget>

#include <Box.h>
#include <Button.h>
#include <CheckBox.h>
#include <MenuField.h>
#include <MenuItem.h>
#include <Message.h>
#include <PopUpMenu.h>
#include <RadioButton.h>
#include <Slider.h>
#include <StringView.h>
#include <TextControl.h>
#include <Window.h>

#include "InterfaceKit.h"
#include "ViewQt.h"

namespace {

// Ten rows of five controls of the kinds a dialog uses.
BWindow*
build_window()
{
	BWindow* window = new BWindow(BRect(40, 40, 639, 479), "fifty controls",
		B_TITLED_WINDOW, B_ASYNCHRONOUS_CONTROLS);
	BBox* box = new BBox(window->Bounds(), "box", B_FOLLOW_ALL);
	window->AddChild(box);
	for (int32 row = 0; row < 10; row++) {
		const float top = 8 + row * 40;
		const std::string number = std::to_string(row);
		box->AddChild(new BButton(BRect(8, top, 98, top + 24), "button",
			("Button " + number).c_str(), new BMessage('bttn')));
		box->AddChild(new BCheckBox(BRect(108, top, 198, top + 20), "check",
			("Check " + number).c_str(), new BMessage('chck')));
		box->AddChild(new BRadioButton(BRect(208, top, 298, top + 20), "radio",
			("Radio " + number).c_str(), new BMessage('radi')));
		switch (row % 3) {
			case 0:
				box->AddChild(new BTextControl(BRect(308, top, 458, top + 22), "text",
					"Value", number.c_str(), new BMessage('text')));
				break;
			case 1:
			{
				BPopUpMenu* menu = new BPopUpMenu("choice");
				menu->AddItem(new BMenuItem("First", new BMessage('frst')));
				menu->AddItem(new BMenuItem("Second", new BMessage('scnd')));
				menu->ItemAt(0)->SetMarked(true);
				box->AddChild(new BMenuField(BRect(308, top, 458, top + 22), "field",
					"Pick", menu));
				break;
			}
			default:
				box->AddChild(new BStringView(BRect(308, top, 458, top + 20), "label",
					("A label for row " + number).c_str()));
		}
		box->AddChild(new BSlider(BRect(468, top, 588, top + 24), "slider", "",
			new BMessage('sldr'), 0, 100));
	}
	return window;
}


void
BM_BuildAndShowFiftyControls(benchmark::State& state)
{
	static int argc = 1;
	static char name[] = "bench_window_build";
	static char* argv[] = {name, nullptr};
	BPrivate::init_interface_kit(argc, argv);
	for (auto _ : state) {
		BWindow* window = build_window();
		window->Show();
		// Shown and drawn: the window's widget has been painted once.
		QCoreApplication::processEvents();
		BPrivate::window_widget(window)->repaint();
		state.PauseTiming();
		if (window->Lock())
			window->Quit();
		QCoreApplication::processEvents();
		state.ResumeTiming();
	}
}

}

BENCHMARK(BM_BuildAndShowFiftyControls)->Unit(benchmark::kMillisecond)->UseRealTime();
