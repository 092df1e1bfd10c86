-- A big factory for the benchmarks, loaded after db/schema.sql:
--   psql -v ON_ERROR_STOP=1 -f bench/generate.sql
-- 1,000 workers and 200 operations; March 2025 (the measured month) and the
-- twelve months before it with 22 working days per worker, each day in one
-- of the shifts 1..4 with 2 to 4 journal rows; household records for a
-- tenth of the worker-days; the hours timesheet rows that match them.
-- Everything set-based, so it loads in seconds.  Values vary with simple
-- arithmetic on the ids, so every run generates the same data.

\set ON_ERROR_STOP 1
set client_min_messages = warning;

begin;

insert into cmn_classifier.item(s_caption, b_excluded)
select 'Группа ' || g, 0 from generate_series(1, 20) g;

insert into accounts_dep.vid_oper(vid)
select 'Операция ' || k from generate_series(1, 40) k;

insert into cmn_gds_and_srv.gds_and_srv(s_caption, s_description, id_msm_bs, massa, id_class_item)
select 'Изделие ' || lpad(p::text, 3, '0'), '', 6, 1.5,
       (select min(id) from cmn_classifier.item where s_caption like 'Группа %') + p % 20
  from generate_series(1, 50) p;

-- 200 operations: products by kinds, finished products and blanks.
insert into accounts_dep.oper(vid, naimen, i_id, cena_new)
select (select array_agg(id order by id) from accounts_dep.vid_oper where id < 7776)[1 + (g.rn + q * 10) % 40],
       (g.rn + q) % 2, g.id, 0
  from (select id, row_number() over (order by id) as rn
          from cmn_gds_and_srv.gds_and_srv where s_caption like 'Изделие %') g
 cross join generate_series(0, 3) q;
insert into accounts_dep.norm(o_id, norma, price, prize)
select id, 100, 5 + (id % 37) * 0.25, 0 from accounts_dep.oper where id < 7776;

insert into accounts_dep.person(fio, s_staffpos_hl)
select 'Работник ' || lpad(w::text, 4, '0') || ' ' || chr(1040 + w % 28) || '.' || chr(1040 + w % 19) || '.', ''
  from generate_series(1, 1000) w;

-- The first 22 working days of each month.
create temp table work_day as
select day::date as day, first_day
  from (select m.first_day, d as day,
               row_number() over (partition by m.first_day order by d) as n
          from (select (date '2025-03-01' - make_interval(months => k))::date as first_day
                  from generate_series(0, 12) k) m,
               generate_series(m.first_day, m.first_day + interval '1 month' - interval '1 day', interval '1 day') d
         where extract(isodow from d) < 6) numbered
 where n <= 22;

create temp table ops as
select array_agg(o.id order by o.id) as id, array_agg(o.i_id order by o.id) as product,
       array_agg(n.price order by o.id) as price, count(*)::int as n
  from accounts_dep.oper o join accounts_dep.norm n on n.o_id = o.id
 where o.id < 7776;

-- Each worker has a shift of his own; one day in ten is overtime (shift 4).
insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok, vvod,
                               prize, id_doc, id_doc_item, id_gds_use, id_cons_use, f_gds_qty_use)
select p.id, ops.product[k], ops.id[k], ops.price[k], 20 + (p.id * 7 + j * 3 + dn) % 60, (p.id + j + dn) % 3,
       wd.day,
       case when (p.id + dn) % 10 = 0 then 4 else p.id % 3 + 1 end,
       0, 1 + (p.id + j + dn) % 4,
       case when (p.id + j) % 5 = 0 then 'no' else 'ok' end,
       wd.day + time '08:00', 0, 0, 0, 0, 0, 0
  from accounts_dep.person p
 cross join work_day wd
 cross join lateral (select (wd.day - date '2000-01-01') as dn) d
 cross join lateral generate_series(1, 2 + (p.id + dn) % 3) j
 cross join ops
 cross join lateral (select 1 + (p.id * 13 + j * 31 + dn * 7) % ops.n as k) pick;

-- Household records for a tenth of the worker-days.
insert into accounts_dep.fatigue(id_p, id_o, id_nom, d_date, i_mnth, i_year, i_smena, cnt, price, i_holiday, i_night)
select p.id, case when (p.id + dn) % 3 = 0 then 7778 else 7777 end,
       (select min(id) from cmn_classifier.item where s_caption like 'Группа %') + (p.id + dn) % 20,
       wd.day, extract(month from wd.day)::int, extract(year from wd.day)::int, 1,
       2 + (p.id + dn) % 4, 150.5, 0, case when (p.id + dn) % 7 = 0 then 1 else 0 end
  from accounts_dep.person p
 cross join work_day wd
 cross join lateral (select (wd.day - date '2000-01-01') as dn) d
 where (p.id + dn) % 10 = 3;

-- The hours timesheet as the upkeep leaves it: shift rows from the journal,
-- household rows from the household records.
insert into accounts_dep.h_tabel(smena, w_id, month, year,
    d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, d15, d16,
    d17, d18, d19, d20, d21, d22, d23, d24, d25, d26, d27, d28, d29, d30, d31)
select s.smena, s.w_id, extract(month from m)::int, extract(year from m)::int,
    sum(s.time) filter (where s.data = m + 0), sum(s.time) filter (where s.data = m + 1),
    sum(s.time) filter (where s.data = m + 2), sum(s.time) filter (where s.data = m + 3),
    sum(s.time) filter (where s.data = m + 4), sum(s.time) filter (where s.data = m + 5),
    sum(s.time) filter (where s.data = m + 6), sum(s.time) filter (where s.data = m + 7),
    sum(s.time) filter (where s.data = m + 8), sum(s.time) filter (where s.data = m + 9),
    sum(s.time) filter (where s.data = m + 10), sum(s.time) filter (where s.data = m + 11),
    sum(s.time) filter (where s.data = m + 12), sum(s.time) filter (where s.data = m + 13),
    sum(s.time) filter (where s.data = m + 14), sum(s.time) filter (where s.data = m + 15),
    sum(s.time) filter (where s.data = m + 16), sum(s.time) filter (where s.data = m + 17),
    sum(s.time) filter (where s.data = m + 18), sum(s.time) filter (where s.data = m + 19),
    sum(s.time) filter (where s.data = m + 20), sum(s.time) filter (where s.data = m + 21),
    sum(s.time) filter (where s.data = m + 22), sum(s.time) filter (where s.data = m + 23),
    sum(s.time) filter (where s.data = m + 24), sum(s.time) filter (where s.data = m + 25),
    sum(s.time) filter (where s.data = m + 26), sum(s.time) filter (where s.data = m + 27),
    sum(s.time) filter (where s.data = m + 28), sum(s.time) filter (where s.data = m + 29),
    sum(s.time) filter (where s.data = m + 30)
  from (select smena, w_id, data, time, date_trunc('month', data)::date as m from accounts_dep.smena) s
 group by s.m, s.smena, s.w_id;

insert into accounts_dep.h_tabel(i_type, i_night, id_nom, w_id, month, year,
    d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, d15, d16,
    d17, d18, d19, d20, d21, d22, d23, d24, d25, d26, d27, d28, d29, d30, d31)
select f.id_o, f.i_night, f.id_nom, f.id_p, extract(month from m)::int, extract(year from m)::int,
    sum(f.cnt) filter (where f.d_date = m + 0), sum(f.cnt) filter (where f.d_date = m + 1),
    sum(f.cnt) filter (where f.d_date = m + 2), sum(f.cnt) filter (where f.d_date = m + 3),
    sum(f.cnt) filter (where f.d_date = m + 4), sum(f.cnt) filter (where f.d_date = m + 5),
    sum(f.cnt) filter (where f.d_date = m + 6), sum(f.cnt) filter (where f.d_date = m + 7),
    sum(f.cnt) filter (where f.d_date = m + 8), sum(f.cnt) filter (where f.d_date = m + 9),
    sum(f.cnt) filter (where f.d_date = m + 10), sum(f.cnt) filter (where f.d_date = m + 11),
    sum(f.cnt) filter (where f.d_date = m + 12), sum(f.cnt) filter (where f.d_date = m + 13),
    sum(f.cnt) filter (where f.d_date = m + 14), sum(f.cnt) filter (where f.d_date = m + 15),
    sum(f.cnt) filter (where f.d_date = m + 16), sum(f.cnt) filter (where f.d_date = m + 17),
    sum(f.cnt) filter (where f.d_date = m + 18), sum(f.cnt) filter (where f.d_date = m + 19),
    sum(f.cnt) filter (where f.d_date = m + 20), sum(f.cnt) filter (where f.d_date = m + 21),
    sum(f.cnt) filter (where f.d_date = m + 22), sum(f.cnt) filter (where f.d_date = m + 23),
    sum(f.cnt) filter (where f.d_date = m + 24), sum(f.cnt) filter (where f.d_date = m + 25),
    sum(f.cnt) filter (where f.d_date = m + 26), sum(f.cnt) filter (where f.d_date = m + 27),
    sum(f.cnt) filter (where f.d_date = m + 28), sum(f.cnt) filter (where f.d_date = m + 29),
    sum(f.cnt) filter (where f.d_date = m + 30)
  from (select id_p, id_o, i_night, id_nom, d_date, cnt, date_trunc('month', d_date)::date as m
          from accounts_dep.fatigue) f
 group by f.m, f.id_p, f.id_o, f.i_night, f.id_nom;

commit;

analyze cmn_contractor.person, accounts_dep.person, accounts_dep.oper, accounts_dep.norm,
        accounts_dep.smena, accounts_dep.fatigue, accounts_dep.h_tabel;
