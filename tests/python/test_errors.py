"""Bad input raises with the engine's reason, in the language asked for; the interpreter lives."""

import math

import pytest

import arraypattern as ap


def nine_emitters():
    return ap.Array([ap.Emitter(x=0.1 * k) for k in range(9)])


def nan_position():
    return ap.Array([ap.Emitter(x=math.nan)])


def length_with_an_ideal_type():
    return ap.analyse(ap.Array([ap.Emitter(length=0.5), ap.Emitter(x=0.25, length=0.5)], type=0))


def ground_without_soil():
    return ap.analyse(ap.Array([ap.Emitter()], type=1, ground="real", frequency=14, height=0.5))


def touching_wires():
    return ap.analyse(ap.Array([ap.Emitter(length=0.5), ap.Emitter(length=0.5)], type=1))


def unknown_ground_model():
    return ap.Array(ground_model="flat")


def too_few_modes():
    return ap.Array(modes_per_wavelength=5)


def sweep_of_a_ninth_emitter():
    return ap.sweep(ap.Array(), "9:phase", [0.0])


def unknown_goal():
    return ap.design(ap.Array(), "most-gain")


@pytest.mark.parametrize("call, reason", [
    (nine_emitters, "emitter 9: an array holds at most 8 emitters"),
    (nan_position, "emitter 1: x=nan is out of range"),
    (length_with_an_ideal_type, "a length needs emitters along an axis: type=1, 2 or 3"),
    (ground_without_soil, "ground='real' needs its soil"),
    (touching_wires, "emitters 1 and 2: their wires touch"),
    (unknown_ground_model, "ground_model='flat': 'sommerfeld', 'reflection' or None"),
    (too_few_modes, "modes_per_wavelength=5: a whole number from 10 to 400"),
    (sweep_of_a_ninth_emitter, "9:phase: the emitter's number is 1 to 8"),
    (unknown_goal, "goal='most-gain': max-directivity"),
], ids=lambda v: getattr(v, "__name__", ""))
def test_bad_input_raises_value_error_with_the_reason(call, reason):
    with pytest.raises(ValueError) as raised:
        call()
    assert str(raised.value).startswith(reason), str(raised.value)


def test_a_reason_is_russian_when_asked_and_english_again_after():
    array = ap.Array([ap.Emitter(length=0.5), ap.Emitter(x=0.25, length=0.5)], type=0)
    with pytest.raises(ValueError, match="длин"):
        ap.analyse(array, lang="ru")
    with pytest.raises(ValueError, match="a length needs"):
        ap.analyse(array)
    with pytest.raises(ValueError, match="lang='de'"):
        ap.analyse(array, lang="de")


def test_a_file_that_cannot_be_read_raises_os_error(tmp_path):
    with pytest.raises(OSError, match="cannot read"):
        ap.load(str(tmp_path / "missing.txt"))
    with pytest.raises(OSError):
        ap.Array().save(str(tmp_path / "no-such-folder" / "array.txt"))
